# Shared by run.sh and test.sh: dependencies, build, display and Wine prefix.
# Sourced, not run.

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${PATHNOOK_BUILD:-$ROOT/build}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko prompts; and no menu entries on the host for the
# shortcuts an installer test creates inside the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

pn_as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# Installs what the build and Wine need; does nothing when all is present.
pn_install_deps() {
  local pkgs="wine wine64 g++-mingw-w64-x86-64-posix cmake ninja-build googletest xvfb xauth
    imagemagick xdotool fonts-wine fonts-dejavu-core fonts-arphic-uming
    fp-utils dpkg-dev nsis"
  local missing=""
  for p in $pkgs; do dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"; done
  if [ -n "$missing" ]; then
    echo "Installing:$missing"
    pn_as_root apt-get update -q
    DEBIAN_FRONTEND=noninteractive pn_as_root apt-get install -y -q --no-install-recommends $missing
  fi
}

# libjpeg for the mingw target, static, built once from Debian's source
# package of libjpeg-turbo and kept in a cache folder for every later build.
PN_LIBJPEG="${PATHNOOK_LIBJPEG:-${XDG_CACHE_HOME:-$HOME/.cache}/pathnook/libjpeg-mingw}"
pn_libjpeg() {
  if [ -f "$PN_LIBJPEG/lib/libjpeg.a" ] && [ -f "$PN_LIBJPEG/include/jpeglib.h" ]; then return 0; fi
  echo "Building libjpeg-turbo for mingw into $PN_LIBJPEG (once)"
  local start=$SECONDS
  if ! dpkg -s dpkg-dev >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive pn_as_root apt-get install -y -q --no-install-recommends dpkg-dev
  fi
  # apt-get source needs a deb-src entry for the mirror already in use.
  if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      sed 's/^Types: *deb *$/Types: deb-src/' "$f" | pn_as_root tee "/etc/apt/sources.list.d/pathnook-src-$(basename "$f")" >/dev/null
    done
    if [ -f /etc/apt/sources.list ]; then
      grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | pn_as_root tee /etc/apt/sources.list.d/pathnook-src.list >/dev/null
    fi
    pn_as_root apt-get update -q
  fi
  local work src rc=0
  work="$(mktemp -d /tmp/pathnook-libjpeg.XXXXXX)"
  # Two small pictures need no SIMD; without it nasm is not needed either.
  (cd "$work" && apt-get source -q libjpeg-turbo >/dev/null) &&
  src="$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'libjpeg-turbo*' | head -1)" &&
  cmake -S "$src" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$PN_LIBJPEG" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -Wno-dev >/dev/null &&
  cmake --build "$work/build" -j "$(nproc)" --target jpeg-static >/dev/null &&
  mkdir -p "$PN_LIBJPEG/lib" "$PN_LIBJPEG/include" &&
  cp "$work/build/jconfig.h" "$src/jerror.h" "$src/jmorecfg.h" "$src/jpeglib.h" "$PN_LIBJPEG/include/" &&
  cp "$work/build/libjpeg.a" "$PN_LIBJPEG/lib/" || rc=1
  rm -rf "$work"
  if [ $rc != 0 ]; then echo "libjpeg build failed" >&2; return 1; fi
  echo "libjpeg ready in $((SECONDS - start)) s"
}

pn_build() {
  local type="${1:-Release}"
  pn_libjpeg
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE="$type" \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" -DPATHNOOK_LIBJPEG="$PN_LIBJPEG" >/dev/null
  cmake --build "$BUILD" -j "$(nproc)"
}

PN_XVFB_PID=""
# Uses $DISPLAY when it answers, else starts Xvfb on a free display.
pn_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo_ok; then return 0; fi
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  PN_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  PN_STARTED_XVFB=1
}
xdpyinfo_ok() { xset -display "$DISPLAY" q >/dev/null 2>&1 || import -display "$DISPLAY" -window root -crop 1x1+0+0 null: >/dev/null 2>&1; }

# The faces a prefix resolves the program's fonts to, from Debian packages
# that pn_install_deps brings, so that no other host font can take their place:
# - "MS Sans Serif" (dialogs, list) is Wine's Tahoma. Wine passes over its own
#   bitmap-only ms_sans_serif.ttf and wants sserife.fon, the file the prefix's
#   Fonts key names; but that bitmap face draws a bar for every character
#   outside its code page and never falls back to a linked face, so Chinese or
#   Greek aliases could not show. Tahoma has the same 13-pixel cell at 8 points
#   and is Wine's own dialog face ("MS Shell Dlg").
# - "宋体" (menus) is DejaVu Serif, with the Ming face AR PL UMing linked for
#   Chinese and Japanese: the packaged Song/Ming faces are Japanese or
#   Chinese fonts that draw a backslash as a yen sign or set Greek and
#   Cyrillic full width, and menus show paths in every script.
# - Both fall back, through the system font-link table, to DejaVu Sans (Greek,
#   Cyrillic and the rest of Europe) and AR PL UMing (Chinese, Japanese kana).
PN_FONT_FILES="/usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf
  /usr/share/wine/fonts/marlett.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
  /usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf /usr/share/fonts/truetype/arphic/uming.ttc"

# A REG_MULTI_SZ value in .reg syntax.
pn_multi_sz() {
  local s="" x
  for x in "$@"; do s="$s$x"$'\001'; done
  printf '%s\001' "$s" | tr '\001' '\000' | iconv -f UTF-8 -t UTF-16LE |
    od -An -tx1 -v | tr -s ' \n' ',' | sed 's/^,//; s/,$//'
}

pn_prefix_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
  mkdir -p "$fonts"
  for f in $PN_FONT_FILES; do
    [ -f "$f" ] || { echo "Missing $f: run pn_install_deps" >&2; return 1; }
    ln -sf "$f" "$fonts/"
  done
  local link menu
  link="$(pn_multi_sz 'DejaVuSans.ttf,DejaVu Sans' 'uming.ttc,AR PL UMing CN')"
  menu="$(pn_multi_sz 'uming.ttc,AR PL UMing CN' 'DejaVuSans.ttf,DejaVu Sans')"
  printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
  printf '"MS Sans Serif"="Tahoma"\r\n"宋体"="DejaVu Serif"\r\n\r\n'
  printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
  printf '"Tahoma"=hex(7):%s\r\n"MS Sans Serif"=hex(7):%s\r\n' "$link" "$link"
  printf '"DejaVu Serif"=hex(7):%s\r\n"宋体"=hex(7):%s\r\n\r\n' "$menu" "$menu"
}

# A fresh prefix with the fonts the program asks for and one virtual desktop.
pn_prefix() {
  export WINEPREFIX="$1"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # A persistent server keeps every later Wine start cheap; its output goes
  # nowhere, or it would hold the caller's pipe open.
  wineserver -p >/dev/null 2>&1 </dev/null &
  wineboot -i >/dev/null 2>&1
  local reg="$WINEPREFIX/pathnook-setup.reg"
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="Default"\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"Default"="1280x1024"\r\n\r\n'
    printf '[HKEY_CLASSES_ROOT\\.txt]\r\n@="txtfile"\r\n\r\n'
    pn_prefix_fonts
  } | iconv -f UTF-8 -t UTF-16 > "$reg"
  wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
}

# The file by which the tests know a prefix as a throw-away one made for
# them: the test executables refuse to run (and so to rewrite the store in
# HKCU\Software\Pathnook) in a prefix without it, such as run.sh's.
PN_TEST_MARK="pathnook-throwaway-prefix"
pn_mark_throwaway() { : > "$WINEPREFIX/drive_c/$PN_TEST_MARK"; }

# Stops with the reason when a font the program asks for resolves to another
# face or height than pn_prefix_fonts sets up.
pn_check_faces() {
  if ! wine "$BUILD/bin/fontcheck.exe"; then
    echo "The Wine prefix $WINEPREFIX resolves the program's fonts elsewhere (see above);" \
      "tests that measure text would fail. Check pn_prefix_fonts in scripts/common.sh." >&2
    return 1
  fi
}

# The virtual desktop takes effect with the next server; run.sh and the
# screenshots want its title bars.
pn_restart_server() {
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 </dev/null &
  sleep 0.5
}

pn_cleanup() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
  [ -n "${PN_TEMP_PREFIX:-}" ] && rm -rf "$PN_TEMP_PREFIX" || true
  [ -n "$PN_XVFB_PID" ] && kill "$PN_XVFB_PID" 2>/dev/null || true
}

# Builds everything, then gives the caller a display and a fresh Wine prefix
# of its own; both go away when the script exits.
pn_fresh_session() {
  pn_install_deps
  pn_build Release
  unset DISPLAY
  pn_display
  trap pn_cleanup EXIT
  PN_TEMP_PREFIX="$(mktemp -d /tmp/pathnook-wine.XXXXXX)"
  pn_prefix "$PN_TEMP_PREFIX"
  pn_mark_throwaway
  pn_check_faces
}
