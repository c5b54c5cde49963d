# Sourced by the peer-test runners: loopback peers on free ports, each stopped by its PID when the
# runner exits, and the runner's scratch folder ($dir, set before sourcing) removed.
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$dir"
}
trap cleanup EXIT

# A port below the kernel's ephemeral range (an outgoing connection can take any port of that range
# at any time), that no socket uses and no other peer of this run was given.
taken=" "
ephemeral_low=$(cut -f1 /proc/sys/net/ipv4/ip_local_port_range 2>/dev/null || echo 32768)
(( ephemeral_low > 21000 )) || ephemeral_low=32768
# free_port NAME: exports NAME with such a port.
free_port() {
  local port
  while :; do
    port=$((20000 + RANDOM % (ephemeral_low - 20000)))
    [[ $taken == *" $port "* ]] && continue
    [[ -n $(ss -Htan "sport = :$port") ]] && continue
    taken+="$port "
    export "$1=$port"
    return
  done
}

wait_listening() {
  local port=$1 i
  for i in $(seq 1 100); do
    ss -ltn "sport = :$port" | grep -q LISTEN && return 0
    sleep 0.05
  done
  echo "peer on port $port did not start" >&2
  return 1
}

# peer PORT [LISTEN-OPTIONS] ADDRESS: one connection to 127.0.0.1:PORT handled by socat's second
# address. Nothing of the peer holds the caller's output open.
peer() {
  local port=$1 options=""
  shift
  if (($# > 1)); then options=",$1"; shift; fi
  socat "TCP-LISTEN:$port,bind=127.0.0.1,reuseaddr$options" "$@" </dev/null >/dev/null 2>>"$dir/socat.log" &
  pids+=($!)
  wait_listening "$port"
}
