# Sourced by the tests that run Windows programs under Wine (tests/windows): the Wine prefix they
# share, kept in $work/wineprefix and made once, without any dialog; a bounded wait; and the
# prefix's Wine server stopped when the test ends. The test defines `work`, `say` and `fail`
# (which says what went wrong and exits) before sourcing it.

export WINEPREFIX=$work/wineprefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer dialogs, and no desktop menu entries written into the home folder.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# use_locale NAME (ja_JP.UTF-8, en_US.UTF-8): Wine takes the user's language from the Unix locale,
# as Windows takes it from the user's settings, so a test sets the one it expects instead of
# depending on the machine's. The locale is compiled once into $work/locales (a machine may have
# only C installed) and found through LOCPATH.
use_locale() {
    local name=$1 dir=$work/locales
    if [ ! -f "$dir/$name/LC_MESSAGES/SYS_LC_MESSAGES" ]; then
        mkdir -p "$dir"
        timeout 120 localedef -i "${name%%.*}" -f UTF-8 "$dir/$name" >"$work/localedef.log" 2>&1 ||
            fail "localedef could not make the locale $name (see $work/localedef.log)"
    fi
    unset LANGUAGE LC_ALL LC_MESSAGES
    export LOCPATH=$dir LANG=$name
}

stop_wine() {
    timeout 20 wineserver -k 2>/dev/null
    timeout 20 wineserver -w 2>/dev/null
}
trap stop_wine EXIT
trap 'exit 130' INT TERM

# wait_until SECONDS COMMAND...: polls COMMAND until it succeeds; fails after SECONDS.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# Keeps the prefix's Wine server, and the services it starts, running between the test's Wine
# commands, which would otherwise start them again each time (seconds each); stop_wine ends it.
keep_wine_server() { timeout 20 wineserver -p || fail "the Wine server of $WINEPREFIX did not start"; }

# A prefix is ready once wineboot has made it and its server has finished; one left half-made by
# an interrupted run is made again.
ensure_prefix() {
    [ -f "$WINEPREFIX/.quorvane-ready" ] && return
    rm -rf "$WINEPREFIX"
    say "making the Wine prefix $WINEPREFIX"
    timeout 300 wineboot -i </dev/null >"$work/wineboot.log" 2>&1 ||
        fail "wineboot -i did not make the prefix within 300 s (see $work/wineboot.log)"
    show_japanese_text
    timeout 120 wineserver -w || fail "the Wine server did not finish within 120 s after wineboot"
    touch "$WINEPREFIX/.quorvane-ready"
}

# Wine's menu and dialog fonts have no Japanese glyphs: link the menu font to IPA Gothic
# (fonts-ipafont-gothic) and take IPA Gothic for the About box's "MS UI Gothic", so that the
# screenshots show the menu and the About box as they read.
show_japanese_text() {
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
    timeout 60 wine reg add "$key" /v Tahoma /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f >>"$work/wineboot.log" 2>&1 &&
        timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d IPAGothic /f \
            >>"$work/wineboot.log" 2>&1 ||
        fail "could not set the Japanese fonts in the Wine prefix (see $work/wineboot.log)"
}
