# Sourced by the scripts that run Wine without a real display.
# start_virtual_display FIRST LAST: starts Xvfb on the first free display
# number from FIRST to LAST, waits until it accepts clients, exports DISPLAY
# and leaves the server's process id in xvfb_pid.
start_virtual_display() {
    local n
    for n in $(seq "$1" "$2"); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
        xvfb_pid=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && return 0
            sleep 0.1
        done
        echo "Xvfb did not start on :$n" >&2
        return 1
    done
    echo "no free X display from :$1 to :$2" >&2
    return 1
}
