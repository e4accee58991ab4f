# Sourced by the test scripts: writes a type store as the program does.
# Record by record as the program writes it: tagged values, small integers
# (tag 2), short 7-bit strings (tag 6), Booleans (8 false, 9 true), dates (tag 0x11, a double).
byte() { printf "\\x$(printf %02x "$1")"; }
int() { byte 2; byte "$1"; }
str() { byte 6; byte "${#1}"; printf '%s' "$1"; }
bool() { if [ "$1" = 1 ]; then byte 9; else byte 8; fi; }
nodate() { printf '\x11\x00\x00\x00\x00\x00\x00\x00\x00'; }
jan2010() { printf '\x11\x00\x00\x00\x00\x60\x9e\xe3\x40'; } # day 40179, 1 January 2010
record() { # record NAME ENABLED METHOD "FOLDER MODE"... -- SPEC... -- PROTECT... -- RESTRICTIONS
    str "$1"
    bool "$2"
    int "$3"
    shift 3
    local folders=() specs=() protects=()
    while [ "$1" != -- ]; do folders+=("$1") && shift; done
    shift
    while [ "$1" != -- ]; do specs+=("$1") && shift; done
    shift
    while [ "$1" != -- ]; do protects+=("$1") && shift; done
    shift
    int "${#folders[@]}"
    for f in "${folders[@]}"; do str "${f% *}" && int "${f##* }"; done
    int "${#specs[@]}"
    for s in "${specs[@]}"; do str "$s"; done
    int "${#protects[@]}"
    for p in "${protects[@]}"; do str "$p"; done
    "$@"
}
no_date() { bool 0 && int 0 && nodate && nodate; }
no_age() { bool 0 && int 0 && int 0 && int 0; }
no_size() { bool 0 && int 0 && int 0 && int 0 && int 0; }
plain() { no_date && no_age && no_size; }
