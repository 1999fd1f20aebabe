# Checks the command traces of a zrv31ctl run (ZRV31_DEBUG=1, standard error): every "命令" and "返回"
# block is two lines of 32 bytes in the trace layout; every command frame carries report ID 4 and
# the checksum of its bytes 3 to 63; every answer echoes its command, with report ID 4 and a status
# other than 0xFF / 0xFE. At least one information-block read (0x03, 34 bytes) must be among them.
# Prints a summary; exits 1 on any fault.

function hexval(text,    i, digit, value) {
  value = 0
  for (i = 1; i <= length(text); i++) {
    digit = index("0123456789abcdef", substr(text, i, 1)) - 1
    if (digit < 0) return -1
    value = value * 16 + digit
  }
  return value
}

function fault(what) {
  print "trace fault (line " NR "): " what
  faults++
}

function check(kind, frame,    i, sum, b) {
  for (i = 0; i < 64; i++) b[i] = hexval(substr(frame, 2 * i + 1, 2))
  if (b[0] != 4) fault(kind " frame with report ID " b[0])
  if (kind == "command") {
    sum = 0
    for (i = 3; i < 64; i++) sum += b[i]
    if (b[1] != sum % 256 || b[2] != int(sum / 256) % 256) fault("checksum of command " b[3])
    if (waiting) fault("command " pending " had no answer")
    pending = b[3]
    waiting = 1
    commands++
    if (b[3] == 3 && b[4] == 34) info_reads++
  } else {
    if (!waiting) fault("answer without a command")
    if (b[3] != pending) fault("answer echoes " b[3] " to command " pending)
    if (b[7] == 255 || b[7] == 254) fault("command " pending " failed with status " b[7])
    waiting = 0
    answers++
  }
}

BEGIN {
  h = "[0-9a-f][0-9a-f]"
  group = h " " h " " h " " h
  layout = "^" group "   " group "   " group "   " group "  " group "  " group "  " group "  " group "$"
}

$0 == "命令" { kind = "command"; got = 0; frame = ""; next }
$0 == "返回" { kind = "answer"; got = 0; frame = ""; next }
kind != "" {
  if ($0 !~ layout) fault("not a frame line: " $0)
  line = $0
  gsub(/ /, "", line)
  frame = frame line
  if (++got == 2) {
    if (length(frame) == 128) check(kind, frame)
    kind = ""
  }
  next
}

END {
  if (kind != "") fault("a frame dump ends early")
  if (waiting) fault("the last command had no answer")
  if (info_reads < 1) fault("no information-block read traced")
  printf "traces: %d commands, %d answers, %d information-block reads, %d faults\n", commands, answers, info_reads, faults
  exit faults > 0 ? 1 : 0
}
