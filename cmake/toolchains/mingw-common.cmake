# Shared part of the MinGW-w64 toolchains (posix thread model).
set(CMAKE_C_COMPILER ${QUIMORA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUIMORA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUIMORA_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUIMORA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Windows programs run on this machine through Wine; ctest starts them
# through this wrapper, which keeps the test prefix and home private.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../wine-run)
