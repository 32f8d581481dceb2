# Settings every windowed program of the project shares: a wide-character
# entry point (wWinMain), the manifest taken from its resource script, and
# sections laid out in the file at page boundaries. With the usual 512-byte
# layout Wine cannot map a section from the file and reads every byte of the
# image at each start; page-aligned, it maps them and reads only the pages
# used. Windows accepts any power of two from 512 to 64 K. Terminal-server
# aware, as Microsoft's linker makes every program: Remote Desktop then
# spares it the compatibility shims of old programs.
function(zx_windows_program target)
  if(MSVC)
    target_link_options(${target} PRIVATE /MANIFEST:NO /ENTRY:wWinMainCRTStartup /FILEALIGN:4096)
  else()
    target_link_options(${target} PRIVATE -municode -Wl,--file-alignment=0x1000 -Wl,--tsaware)
  endif()
endfunction()
