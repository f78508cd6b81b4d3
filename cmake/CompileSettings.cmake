# One target that every Lumorra target links: the language level, the
# warnings we keep clean, the Qt defines and, with LUMORRA_SANITIZE, the
# AddressSanitizer and UndefinedBehaviorSanitizer instrumentation.
add_library(lumorra_compile_settings INTERFACE)
target_compile_features(lumorra_compile_settings INTERFACE cxx_std_20)
target_compile_options(lumorra_compile_settings INTERFACE -Wall -Wextra -Wshadow)
target_compile_definitions(lumorra_compile_settings INTERFACE
  QT_NO_FOREACH
  QT_DISABLE_DEPRECATED_BEFORE=0x060000
  LUMORRA_VERSION_TEXT="${PROJECT_VERSION}")

if(LUMORRA_SANITIZE)
  target_compile_options(lumorra_compile_settings INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(lumorra_compile_settings INTERFACE -fsanitize=address,undefined)
endif()
