#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Starts a private CUPS server for the printing tests: its own configuration folder, a loopback
# port, and one raw queue "vxRecInfoTestQueue" that writes every job to DIR/spool/out-N.prn.
# The server's pid is in DIR/cupsd.pid.
# Usage: private-cups.sh start DIR PORT | stop DIR (stop also removes DIR)
set -euo pipefail
cmd="$1"; dir="$2"
if [ "$cmd" = stop ]; then
  if pid="$(cat "$dir/cupsd.pid" 2>/dev/null)"; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
  fi
  rm -rf "$dir"
  exit 0
fi
port="$3"
mkdir -p "$dir"/{cache,state,spool,log,tmp,out}
chmod 0777 "$dir/out" "$dir/tmp"
chmod 0755 "$dir"
cat > "$dir/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
LogLevel warn
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow from 127.0.0.1
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat > "$dir/cups-files.conf" <<CONF
ServerRoot $dir
CacheDir $dir/cache
StateDir $dir/state
RequestRoot $dir/spool
TempDir $dir/tmp
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
FileDevice Yes
Sandboxing Relaxed
CONF
# In the foreground, so that it is stopped (or killed) by its own pid.
/usr/sbin/cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" </dev/null >/dev/null 2>&1 &
echo $! >"$dir/cupsd.pid"
# A server that never gets its queue does not stay behind.
trap 'kill "$(cat "$dir/cupsd.pid")" 2>/dev/null || true' ERR
export CUPS_SERVER="127.0.0.1:$port"
for _ in $(seq 1 100); do
  lpstat -r 2>/dev/null | grep -q 'is running' && break
  sleep 0.1
done
lpadmin -p vxRecInfoTestQueue -E -v "file://$dir/out/job.prn" -m raw 2>/dev/null || \
  lpadmin -p vxRecInfoTestQueue -E -v "file://$dir/out/job.prn"
