#!/usr/bin/env bash
# Starts cupsd when it is not running (there is no init system on CI) and adds
# the "PDF" queue of cups-pdf, which writes each job to $HOME/PDF.
set -euo pipefail

if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    /usr/sbin/cupsd
    for _ in $(seq 1 60); do
        lpstat -r 2>/dev/null | grep -q 'is running' && break
        sleep 0.5
    done
fi
lpstat -r | grep -q 'is running' || { echo "cupsd did not start" >&2; exit 1; }

if ! lpstat -p PDF >/dev/null 2>&1; then
    lpadmin -p PDF -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E
fi
cupsenable PDF
cupsaccept PDF
lpstat -p PDF
