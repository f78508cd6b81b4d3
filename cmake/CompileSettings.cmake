# One target that every Lumorra target links: the language level, the
# warnings we keep clean, the Qt defines and, with LUMORRA_SANITIZE, the
# AddressSanitizer and UndefinedBehaviorSanitizer instrumentation (with
# LUMORRA_FUZZ also libFuzzer's coverage instrumentation).
add_library(lumorra_compile_settings INTERFACE)
target_compile_features(lumorra_compile_settings INTERFACE cxx_std_20)
target_compile_options(lumorra_compile_settings INTERFACE -Wall -Wextra -Wshadow)
target_compile_definitions(lumorra_compile_settings INTERFACE
  QT_NO_FOREACH
  QT_DISABLE_DEPRECATED_BEFORE=0x060000
  LUMORRA_VERSION_TEXT="${PROJECT_VERSION}")

if(LUMORRA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "LUMORRA_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  target_compile_options(lumorra_compile_settings INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(lumorra_compile_settings INTERFACE -fsanitize=address,undefined)
elseif(LUMORRA_SANITIZE)
  target_compile_options(lumorra_compile_settings INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(lumorra_compile_settings INTERFACE -fsanitize=address,undefined)
endif()
