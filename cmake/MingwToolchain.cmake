# Shared part of the cross toolchains: Debian's mingw-w64 compilers with the posix thread model
# (the win32 model lacks std::mutex). The including file sets TWK_TRIPLET first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TWK_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TWK_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TWK_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TWK_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
