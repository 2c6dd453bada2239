# Sourced, not run: the environment every Wine process of this project runs with, shared by
# scripts/wine-env (which prepares the prefix) and scripts/wine-run (which runs a program in
# it). Expects $top, the repository's root.
#   WINEPREFIX  the project's own prefix, build/wine, unless the caller names another
#   WINEDEBUG   -all (Wine's debug channels off: test output stays readable) unless the caller
#               sets it, e.g. WINEDEBUG=+relay scripts/test to see why a test fails under Wine
#   LANG/LC_ALL zh_CN.UTF-8, both (an inherited LC_ALL hides LANG): code page 936, as on a
#               Chinese Windows; Wine rewrites a font substitute when the locale changes
export WINEPREFIX=${WINEPREFIX:-$top/build/wine}
export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
