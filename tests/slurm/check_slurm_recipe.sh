#!/bin/bash
# The README's Slurm array job, submitted as it stands to a one-node Slurm
# started here on localhost: one task is cancelled mid-run and requeued, and
# every task's -o, CSV and XYZ must then equal an uninterrupted run's, byte
# for byte. Skipped (exit 77) where the daemons cannot be started.
# usage: check_slurm_recipe.sh ZENTROVA_SIM README.md SET.lis1
set -euo pipefail
sim=$(readlink -f "$1")
readme=$(readlink -f "$2")
set_file=$(readlink -f "$3")
export STEPS=3000 CHECKPOINT=200 EVERY=7
cancelled=1  # the task cancelled and requeued

skip() { echo "skipped: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "the Slurm daemons and munged need root"
for d in munged mungekey slurmctld slurmd sbatch squeue scontrol scancel sinfo; do
  command -v "$d" >/dev/null || skip "$d is not installed (scripts/install-deps.sh installs slurm-wlm and munge)"
done

top=$(mktemp -d /tmp/zentrova-slurm.XXXXXX)
chmod 755 "$top"  # munged refuses a socket folder others may write to
pids=()
cleanup() {
  local status=$?
  set +e
  if [ -n "${SLURM_CONF:-}" ] && [ -n "${job:-}" ]; then
    scancel "$job" 2>/dev/null
    for _ in $(seq 1 30); do [ -z "$(squeue -h -j "$job" 2>/dev/null)" ] && break; sleep 1; done
  fi
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
    for log in "$top"/*.log "$top"/work/sweep-*.log; do
      [ -f "$log" ] && { echo "--- $log"; tail -n 20 "$log"; }
    done
  fi
  rm -rf "$top"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() { echo "FAIL: $*"; exit 1; }

# Two free ports for slurmctld and slurmd.
read -r ctl_port node_port < <(python3 -c '
import socket
s = [socket.socket() for _ in range(2)]
for x in s: x.bind(("127.0.0.1", 0))
print(*[x.getsockname()[1] for x in s])')

mungekey -c -k "$top/munge.key" || skip "mungekey cannot make a key"
munged -F --socket="$top/munge.sock" --key-file="$top/munge.key" --pid-file="$top/munged.pid" \
  --log-file="$top/munged.log" --seed-file="$top/munged.seed" >>"$top/munged.log" 2>&1 &
pids+=($!)

node=$(hostname -s)
mkdir -p "$top/state" "$top/spool" "$top/work"
cat >"$top/slurm.conf" <<EOF
ClusterName=zentrova-test
SlurmctldHost=$node(127.0.0.1)
SlurmctldPort=$ctl_port
SlurmdPort=$node_port
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=$top/munge.sock,cred_expire=5
CredType=cred/munge
StateSaveLocation=$top/state
SlurmdSpoolDir=$top/spool
SlurmctldPidFile=$top/slurmctld.pid
SlurmdPidFile=$top/slurmd.pid
SlurmctldLogFile=$top/slurmctld.log
SlurmdLogFile=$top/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SchedulerType=sched/builtin
SchedulerParameters=sched_interval=2
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
MpiDefault=none
ReturnToService=2
KillWait=10
MinJobAge=600
NodeName=$node NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=test Nodes=ALL Default=YES MaxTime=INFINITE State=UP
EOF
export SLURM_CONF=$top/slurm.conf
for _ in $(seq 1 50); do [ -S "$top/munge.sock" ] && break; sleep 0.2; done
[ -S "$top/munge.sock" ] || fail "munged did not start"
slurmctld -D -c -i -f "$SLURM_CONF" >>"$top/slurmctld.log" 2>&1 &
pids+=($!)
slurmd -D -N "$node" -f "$SLURM_CONF" >>"$top/slurmd.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 60); do
  [ "$(sinfo -h -o %t 2>/dev/null)" = "idle" ] && break
  sleep 0.5
done
[ "$(sinfo -h -o %t)" = "idle" ] || fail "the node did not come up: $(sinfo 2>&1)"

# The README's script, as it stands.
cd "$top/work"
awk '/^```bash$/ { inblock = 1; text = ""; next }
     /^```$/ && inblock { if (text ~ /#SBATCH --array/) { printf "%s", text; exit } inblock = 0; next }
     inblock { text = text $0 "\n" }' "$readme" >sweep.sh
grep -q '^#SBATCH --array' sweep.sh || fail "no Slurm script in the README"
cp "$set_file" set.lis1
export PATH="$(dirname "$sim"):$PATH"

job=$(sbatch --parsable sweep.sh)
job=${job%%;*}
state() { scontrol show job "${job}_$1" 2>/dev/null | grep -o 'JobState=[A-Z_]*' | head -1 | cut -d= -f2; }

# Cancelled once it has a checkpoint, well before its end.
for _ in $(seq 1 600); do
  [ -f "run-$cancelled.lis1.ckpt" ] && [ "$(state $cancelled)" = RUNNING ] && break
  sleep 0.1
done
[ "$(state $cancelled)" = RUNNING ] || fail "task $cancelled never ran: $(state $cancelled)"
scancel "${job}_$cancelled"
for _ in $(seq 1 60); do [ "$(state $cancelled)" = CANCELLED ] && break; sleep 0.5; done
[ "$(state $cancelled)" = CANCELLED ] || fail "task $cancelled was not cancelled: $(state $cancelled)"
grep -q '^status running$' "run-$cancelled.lis1.ckpt" || fail "task $cancelled ended before it was cancelled"
stopped=$(sed -n 's/^step //p' "run-$cancelled.lis1.ckpt")
grep -q '"interrupted":"SIGTERM"' "sweep-$cancelled.jsonl" || fail "the cancelled task did not end on SIGTERM"
scontrol requeue "${job}_$cancelled"

for _ in $(seq 1 600); do
  [ -z "$(squeue -h -j "$job")" ] && break
  sleep 0.5
done
[ -z "$(squeue -h -j "$job")" ] || fail "the array did not finish: $(squeue -j "$job")"

values=(0.2 0.3 0.4 0.5 0.6)
for n in "${!values[@]}"; do
  [ "$(state "$n")" = COMPLETED ] || fail "task $n ended $(state "$n")"
  "$sim" run set.lis1 -n "$STEPS" --set B2="${values[$n]}" --threads 1 -o "ref-$n.lis1" \
    --csv "ref-$n.csv" --xyz "ref-$n.xyz" --every "$EVERY" 2>/dev/null
  for ext in lis1 csv xyz; do
    cmp "run-$n.$ext" "ref-$n.$ext" || fail "task $n: run-$n.$ext differs from the uninterrupted run's"
  done
  [ "$(wc -l <"sweep-$n.jsonl")" -eq 1 ] || fail "task $n: sweep-$n.jsonl is not one line"
  grep -q "\"step\":$STEPS,.*\"interrupted\":null" "sweep-$n.jsonl" || fail "task $n: $(cat "sweep-$n.jsonl")"
done
start=$(grep -o '"start_step":[0-9]*' "sweep-$cancelled.jsonl" | cut -d: -f2)
[ "$start" -eq "$stopped" ] || fail "the requeued task began at step $start, not at its checkpoint's $stopped"
echo "ok: 5 tasks, task $cancelled cancelled at step $stopped and requeued; every output equals an uninterrupted run's"
