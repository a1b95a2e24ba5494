#!/usr/bin/env bash
# A private CUPS server for the printing tests, kept entirely under one
# folder of the build tree: configuration, spool, logs, the scheduler's
# socket (no TCP port, so test runs of different build folders never meet)
# and the PDF files its "PDF" queue writes.
#
# Usage: scripts/cups-test-server.sh start|stop|status DIR
#   start   starts the server unless it already answers; idempotent.
#           Clients reach it with CUPS_SERVER=DIR/cups.sock.
#           When this machine cannot run it, DIR/unavailable says why and
#           the command still succeeds: the printing tests then skip and say so.
#   stop    stops the server this folder started and removes its PDF
#           printer's settings file; idempotent.
#   status  exits 0 when the server answers.
#
# The PDF queue uses printer-driver-cups-pdf. Its backend reads its settings
# only from /etc/cups: "cups-pdf:/NAME" as device address makes it read
# /etc/cups/cups-pdf-NAME.conf, so each build folder gets its own file there
# (named after a hash of the folder) that sends the PDFs to DIR/pdf, names
# them after the job ("...-job_N.pdf") and keeps its log in DIR/log. The
# backend runs only as root (mode 0700), hence a server started by root.
#
# The server's filters run as the lp user and read the spool, the printer
# description and the temporary folder. When lp cannot reach DIR (a build
# tree under a home of mode 700, as root's is on Debian), those live in a
# folder made under /var/tmp instead, named in DIR/server-files and removed
# on stop; the socket, the logs and the PDFs stay in DIR.
set -uo pipefail
cmd=${1:?usage: cups-test-server.sh start|stop|status DIR}
dir=${2:?usage: cups-test-server.sh start|stop|status DIR}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
sock="$dir/cups.sock"
tag="rud-$(printf %s "$dir" | md5sum | cut -c1-12)"
pdfconf="/etc/cups/cups-pdf-$tag.conf"
export CUPS_SERVER="$sock"

answers() { [ -S "$sock" ] && lpstat -r 2>/dev/null | grep -q 'is running'; }

unavailable() {
  echo "$1" > "$dir/unavailable"
  echo "private CUPS server not started: $1"
  exit 0
}

# Whether the lp user can walk down to folder $1 (every folder above it
# searchable by lp).
lp_reaches() {
  command -v runuser >/dev/null || return 0
  id lp >/dev/null 2>&1 || return 0
  runuser -u lp -- test -x "$1" 2>/dev/null
}

# Removes the folder under /var/tmp that a start made for lp, if any.
remove_server_files() {
  local files
  files=$(cat "$dir/server-files" 2>/dev/null) || return 0
  case "$files" in /var/tmp/rud-cups-*) rm -rf "$files" ;; esac
  rm -f "$dir/server-files"
}

ours() { # the pid in DIR/cupsd.pid is a cupsd started with this folder's files
  local pid
  pid=$(cat "$dir/cupsd.pid" 2>/dev/null) || return 1
  [ -n "$pid" ] && tr '\0' ' ' 2>/dev/null < "/proc/$pid/cmdline" | grep -qF "$dir/cupsd.conf"
}

start() {
  rm -f "$dir/unavailable"
  if answers && lpstat -p PDF >/dev/null 2>&1 && [ -f "$pdfconf" ]; then
    return 0
  fi
  [ "$(id -u)" -eq 0 ] || unavailable "the PDF printer's backend runs only under a CUPS server started by root"
  for tool in cupsd lpadmin lpstat; do
    command -v "$tool" >/dev/null || PATH="$PATH:/usr/sbin" command -v "$tool" >/dev/null ||
      unavailable "$tool is not installed"
  done
  [ -x /usr/lib/cups/backend/cups-pdf ] || unavailable "printer-driver-cups-pdf is not installed"
  ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
  [ -f "$ppd" ] || unavailable "the cups-pdf printer description is missing"
  [ -w /etc/cups ] || unavailable "/etc/cups is not writable"
  # The socket path must fit a Unix socket address.
  [ "${#sock}" -lt 100 ] || unavailable "the build folder's path is too long for a socket: $sock"

  if ours; then kill "$(cat "$dir/cupsd.pid")" 2>/dev/null; sleep 0.5; fi
  remove_server_files
  rm -rf "$dir/spool" "$dir/tmp" "$dir/cache" "$dir/state" "$dir/ppd" "$dir/pdf" "$dir/cups-pdf-spool" "$sock"
  files="$dir"
  if ! lp_reaches "$dir"; then
    files=$(mktemp -d /var/tmp/rud-cups-XXXXXX) || unavailable "no folder the lp user can reach could be made under /var/tmp"
    echo "$files" > "$dir/server-files"
  fi
  mkdir -p "$dir"/{log,pdf} "$files"/{spool,tmp,cache,state,ppd}
  chmod 755 "$dir" "$dir"/{log,pdf} "$files" "$files"/{spool,cache,state,ppd}
  chmod 1777 "$files/tmp"
  lp_reaches "$files/spool" || unavailable "the lp user cannot reach the server's files in $files"
  cat > "$dir/cupsd.conf" <<EOF
Listen $sock
LogLevel info
WebInterface No
Browsing Off
DefaultAuthType None
ErrorPolicy abort-job
MaxJobs 0
PreserveJobHistory Off
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  cat > "$dir/cups-files.conf" <<EOF
ServerRoot $files
RequestRoot $files/spool
TempDir $files/tmp
CacheDir $files/cache
StateDir $files/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
Printcap $dir/printcap
SystemGroup root
User lp
Group lp
EOF
  cat > "$pdfconf" <<EOF
# Written by $0 for the private test server in $dir
Out $dir/pdf
AnonDirName $dir/pdf
Spool $dir/cups-pdf-spool
Log $dir/log
Label 1
Grp root
UserUMask 0022
AnonUMask 0022
EOF
  cupsd=$(command -v cupsd || PATH="$PATH:/usr/sbin" command -v cupsd)
  ( setsid "$cupsd" -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" \
      </dev/null >"$dir/log/cupsd.out" 2>&1 & echo $! > "$dir/cupsd.pid" )
  for _ in $(seq 1 100); do answers && break; sleep 0.1; done
  answers || unavailable "cupsd did not start (see $dir/log)"
  # pdftocairo turns the job's PDF into PostScript keeping the fonts' text,
  # so the PDF written at the end can be read back (the default renderer
  # leaves glyphs without their characters).
  lpadmin -p PDF -E -v "cups-pdf:/$tag" -P "$ppd" -o printer-error-policy=abort-job \
    -o pdftops-renderer-default=pdftocairo 2>/dev/null ||
    unavailable "lpadmin could not add the PDF queue"
  lpadmin -d PDF
  echo "private CUPS server running: CUPS_SERVER=$sock"
}

stop() {
  if ours; then
    pid=$(cat "$dir/cupsd.pid")
    kill "$pid" 2>/dev/null
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  fi
  rm -f "$dir/cupsd.pid" "$pdfconf"
  remove_server_files
}

case "$cmd" in
  start) start ;;
  stop) stop ;;
  status) answers ;;
  *) echo "usage: cups-test-server.sh start|stop|status DIR" >&2; exit 2 ;;
esac
