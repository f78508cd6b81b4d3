#pragma once
// Closing the main window, stopping the player processes, the browser
// watch and the memory-release button.
#include <QString>
#include <functional>

class QWidget;

namespace lumorra {

struct ExitFlags {
    bool stopPlayer = false;   // "关闭快播": QvodPlayer.exe at exit
    bool stopNetwork = false;  // "关闭协议": QvodTerminal.exe at exit
};

// Form1's close request: asks the exit question, on Yes opens the forum page,
// runs kbsz and ends the program at once; No runs kbsz and ends; Cancel (or
// closing the box) keeps everything running. Returns true when the program
// is ending.
bool handleCloseRequest(QWidget* form1, const ExitFlags& flags);

// Stops the player processes named by the flags: the network process first,
// then the player.
void kbsz(const ExitFlags& flags);

// Command6 "释放内存": cdata, then the message box.
void releaseMemory(QWidget* form1);
// Switches off the deferred timers of form1 (Timer2–Timer7, Timer9–Timer21,
// Timer23–Timer26; Timer8 keeps running), empties the fetched texts and
// returns freed memory to the system.
void cdata(QWidget* form1);

// Timer25's tick: stops "iexplore.exe" wherever it runs. Errors are ignored.
void Timer25_Timer();

// The exit question's text and the forum page it offers.
QString exitQuestionText();
QString forumPageAddress();

// How the program ends once the user confirmed: pending fetches are dropped
// unheard, the windows' timers stop, and the event loops return with status
// 0 (the program then ends through its normal path). Tests install their own
// hook for the last step to observe the ending without leaving their event
// loop; nullptr restores it.
void setProgramEndHook(std::function<void()> hook);
void endProgram();

} // namespace lumorra
