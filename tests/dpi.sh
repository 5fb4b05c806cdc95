# Sourced by the tests that run Lumeno's code at another display scale: the
# prefix's LogPixels, which Wine reads when a process starts.
#   set_dpi DPI   notes the value there and puts DPI in its place
#   restore_dpi   puts the noted value back (or removes it, as it was missing)
# shellcheck shell=bash
LUMENO_DPI_KEY='HKCU\Control Panel\Desktop'
LUMENO_OLD_DPI=""
dpi_reg() { wine reg "$@" </dev/null 2>/dev/null | tr -d '\r'; }
set_dpi() {
  LUMENO_OLD_DPI="$(dpi_reg query "$LUMENO_DPI_KEY" /v LogPixels | awk '$1 == "LogPixels" { print $3 }')"
  dpi_reg add "$LUMENO_DPI_KEY" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
}
restore_dpi() {
  if [ -n "$LUMENO_OLD_DPI" ]; then
    dpi_reg add "$LUMENO_DPI_KEY" /v LogPixels /t REG_DWORD /d "$((LUMENO_OLD_DPI))" /f >/dev/null
  else
    dpi_reg delete "$LUMENO_DPI_KEY" /v LogPixels /f >/dev/null
  fi
}
