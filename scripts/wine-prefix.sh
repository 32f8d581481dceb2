# Sourced by the scripts that run Windows programs: a fresh Wine prefix with a
# temporary HOME, Italian settings, and one virtual desktop in which Wine
# draws the title bars itself and closing a window waits for no window manager.
#   zx_wine_prefix DIR [DPI]   prefix in DIR/prefix, HOME in DIR/home
#   zx_winpath PATH            the Windows path of a file of this machine

zx_wine_prefix() {
  local dir=$1 dpi=${2:-}
  export WINEPREFIX="$dir/prefix" HOME="$dir/home" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export LC_ALL=it_IT.UTF-8
  mkdir -p "$HOME"
  wineboot -i >/dev/null 2>&1 || true
  zx_marlett
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null 2>&1
  if [ -n "$dpi" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  fi
  wineserver -w || true
}

# Wine draws caption buttons with the Marlett font, as Windows does, but it
# loads fonts only from the prefix's Fonts folder and fontconfig's folders;
# Debian's wine.inf copies none of its own fonts there (fonts-wine keeps them
# in /usr/share/wine/fonts), so the buttons fell back to the letters "0 1 r".
# Only Marlett is added: every other text keeps the fonts it had.
zx_marlett() {
  local src=/usr/share/wine/fonts/marlett.ttf dst="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$src" ] && mkdir -p "$dst" && cp "$src" "$dst/"
}

zx_winpath() { echo "Z:${1//\//\\}"; }
