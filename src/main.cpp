#include "app/application.h"

int main(int argc, char** argv)
{
    return lumorra::runApplication(argc, argv);
}
