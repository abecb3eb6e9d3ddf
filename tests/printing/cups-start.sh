#!/usr/bin/env bash
# Starts a CUPS scheduler for the printing integration tests, as root and without systemd, with two
# queues (installs nothing):
#   PDF   the default: cups-pdf writing "<title>-job_<id>.pdf" into $ZVP_CUPS_PDF_DIR (/tmp/zvp-cups-pdf)
#   Null  a generic queue that discards its output and offers duplex
# Idempotent: a scheduler that already answers is kept; the queues are made again. Only a scheduler this
# script started is recorded for cups-stop.sh.
set -euo pipefail
out=${ZVP_CUPS_PDF_DIR:-/tmp/zvp-cups-pdf}
pidfile=${ZVP_CUPSD_PIDFILE:-/tmp/zvp-cupsd.pid}

if [ "$(id -u)" -ne 0 ]; then
  echo "cups-start.sh: needs root; the printing integration tests will be skipped" >&2
  exit 0
fi
for tool in /usr/sbin/cupsd lpadmin lpstat; do
  command -v "$tool" >/dev/null || { echo "cups-start.sh: $tool is missing" >&2; exit 0; }
done

# cups-pdf writes into a folder every job's user can write, with readable files.
mkdir -p "$out"
chmod 1777 "$out"
conf=/etc/cups/cups-pdf.conf
if [ -f "$conf" ]; then
  sed -i -E "s|^#?[[:space:]]*Out[[:space:]].*|Out $out|;
             s|^#?[[:space:]]*AnonDirName[[:space:]].*|AnonDirName $out|;
             s|^#?[[:space:]]*UserUMask[[:space:]].*|UserUMask 0022|" "$conf"
fi

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  mkdir -p /run/cups
  setsid /usr/sbin/cupsd -f >/dev/null 2>&1 &
  echo $! >"$pidfile"
  for _ in $(seq 50); do
    lpstat -r 2>/dev/null | grep -q "is running" && break
    sleep 0.1
  done
fi
lpstat -r 2>/dev/null | grep -q "is running" || { echo "cups-start.sh: the scheduler did not start" >&2; exit 1; }

ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
if [ -f "$ppd" ]; then
  lpadmin -p PDF -E -v cups-pdf:/ -P "$ppd"
  # pdftocairo keeps the text extractable; the title names the output file.
  lpadmin -p PDF -o TitlePref=1 -o pdftops-renderer-default=pdftocairo
  lpadmin -d PDF
fi
lpadmin -p Null -E -v file:///dev/null -m drv:///sample.drv/generic.ppd
lpadmin -p Null -o Option1=True
echo "cups-start.sh: scheduler running, queues: $(lpstat -e | tr '\n' ' ')"
