# Shared by the MinGW-w64 toolchain files; they set TB_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)
# The -posix variants carry std::thread and std::mutex.
set(CMAKE_C_COMPILER ${TB_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TB_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TB_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TB_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
