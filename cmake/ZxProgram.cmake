# Settings every windowed program of the project shares: a wide-character
# entry point (wWinMain) and the manifest taken from its resource script.
function(zx_windows_program target)
  if(MSVC)
    target_link_options(${target} PRIVATE /MANIFEST:NO /ENTRY:wWinMainCRTStartup)
  else()
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()
