# Debian's hardening flags for release builds (the Debian package is one):
# fortified C library calls, stack protector, read-only relocations bound at
# start-up, position-independent executables. Included before any target so
# that the libraries get them too. Debug builds keep -O0, where fortifying is
# impossible, and the everyday RelWithDebInfo build is left alone.
option(TOLVI_HARDENING "Debian hardening flags in Release builds" ON)

if(TOLVI_HARDENING AND CMAKE_BUILD_TYPE STREQUAL "Release")
  # _FORTIFY_SOURCE needs optimisation; Debian builds at -O2.
  string(REPLACE "-O3" "-O2" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")
  add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2 -fstack-protector-strong)
  if(MINGW)
    # No ELF relocations to protect: Windows' own address randomisation and
    # no-execute data instead. The stack protector and the fortified calls
    # need libssp-0.dll beside the program.
    # mingw's driver links libssp only when told of the protector.
    add_link_options(-Wl,--dynamicbase,--nxcompat,--high-entropy-va -fstack-protector-strong)
  else()
    add_link_options(-Wl,-z,relro,-z,now)
  endif()
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()
