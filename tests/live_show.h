// tests/live_show.h - the real show (windowed, no dialog) under the test's X display, driven
// by xdotool. Every run is bounded: the show is killed after `limit` seconds whatever happens,
// so a lost key costs seconds, never the music's ten minutes. Before the test's keys are
// sent, Home is pressed until the show's log says it seeked ("KEYS: seek to 0.00"), so the
// window really takes input; `quit_show` presses Escape until the show has exited.
// Runs hold a lock on the display so that parallel tests never steal each other's focus.
#pragma once
#include <array>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

// A bash script that starts the show in the current directory with its stderr in show.log,
// waits for its window and for input, runs `action` (with $pid and $wid set and these shell
// functions defined), and ends with the line "status N" (the
// show's exit status; 137 when the watchdog had to kill it) or "no input" / "no window".
//   key K...              press keys (for keys the show does not log)
//   press K "LOG TEXT"    press K until the log has one more line with LOG TEXT (3 tries)
//   hold K "LOG TEXT"     hold K down 1.5 s (the X server repeats it), the same way
//   quit_show             press Escape until the show has exited
// A key that never shows in the log prints "lost key K" and the test fails on its log.
// (flock -o: the watchdog's sleep, left over when the show ends in time, must not hold the lock.)
inline std::string live_show_script(const std::string &show, const std::string &action, int limit,
                                    const std::string &env = "") {
    const std::string l = std::to_string(limit);
    return "flock -o " ORBPLUME_BINARY_DIR "/display.lock bash -c '"
           + env + " " + show + " 2> show.log & pid=$!; "
           "( sleep " + l + "; kill -KILL $pid ) >/dev/null 2>&1 & "
           "wid=$(timeout " + l + " xdotool search --sync --pid $pid --name \"V-LUX 2004: Orb Plume\" | head -1); "
           "[ -n \"$wid\" ] || { echo \"no window\"; kill $pid; wait $pid; exit 0; }; "
           "key() { xdotool key --window $wid \"$@\"; sleep 0.3; }; "
           "logged() { grep -c \"$1\" show.log; }; "
           "retry_key() { n=$(logged \"$2\"); for try in 1 2 3; do $3; "
           "  for w in $(seq 10); do sleep 0.3; [ $(logged \"$2\") -gt $n ] && return; done; done; echo \"lost key $1\"; }; "
           "press() { retry_key \"$1\" \"$2\" \"xdotool key --window $wid $1\"; }; "
           "hold() { retry_key \"$1\" \"$2\" \"eval xdotool keydown $1; sleep 1.5; xdotool keyup $1\"; }; "
           "quit_show() { for i in 1 2 3 4 5 6 7 8 9 10; do kill -0 $pid 2>/dev/null || return; "
           "  xdotool key --window $wid Escape; sleep 1; done; }; "
           "for i in $(seq 40); do xdotool windowfocus --sync $wid key --window $wid Home; sleep 0.5; "
           "  grep -q \"KEYS: seek to 0.00\" show.log && break; done; "
           "grep -q \"KEYS: seek to 0.00\" show.log || { echo \"no input\"; kill $pid; wait $pid; exit 0; }; "
           + action + "; wait $pid; echo \"status $?\"'";
}

// Runs a bash script; returns what it printed on stdout and stderr.
inline std::string run_shell(const std::string &script) {
    FILE *pipe = popen(("{ " + script + " ; } 2>&1").c_str(), "r");
    std::string out;
    std::array<char, 512> buffer;
    while (pipe && fgets(buffer.data(), int(buffer.size()), pipe)) out += buffer.data();
    if (pipe) pclose(pipe);
    return out;
}

// Every whole number that follows `label` in text ("KEYS: tick " -> the ticks, in order).
inline std::vector<long long> numbers_after(const std::string &text, const std::string &label) {
    std::vector<long long> found;
    std::regex re(label + "([0-9]+)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator(); ++it)
        found.push_back(std::stoll((*it)[1]));
    return found;
}
