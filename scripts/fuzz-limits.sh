# Sourced by the fuzzing scripts: the longest input libFuzzer makes, per
# target (its seeds may be longer): pages beyond a few kilobytes only slow
# the search down.
max_len() {
  case $1 in
    html) echo 8192 ;;
    imagemap) echo 4096 ;;
    links) echo 1024 ;;
    *) echo 16384 ;;
  esac
}
