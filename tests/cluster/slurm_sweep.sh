#!/bin/bash
# A planned sweep submitted to a one-node Slurm on localhost (slurmctld and
# slurmd with a generated slurm.conf, munged with a key of its own), waited
# for, collected: it equals the threaded sweep. Every daemon started here is
# stopped on the way out.
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIPPED: the one-node Slurm runs its daemons as root; run this test as root"
    exit 77
fi
. "$(dirname "$0")/common.sh"
for p in slurmctld slurmd sbatch munged; do
    command -v $p >/dev/null || { echo "$p is not installed (make deps)"; exit 1; }
done

PIDS=()
cleanup() {
    local status=$?
    for pidfile in "$WORK/slurmd.pid" "$WORK/slurmctld.pid" "$WORK/munged.pid"; do
        if [ -s "$pidfile" ]; then
            pid=$(cat "$pidfile")
            kill "$pid" 2>/dev/null || true
            for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
            kill -9 "$pid" 2>/dev/null || true
        fi
    done
    if [ $status -ne 0 ]; then
        for log in slurmctld.log slurmd.log munged.log; do
            [ -f "$WORK/$log" ] && { echo "--- $log"; tail -n 30 "$WORK/$log"; }
        done
    fi
    rm -rf "$WORK"
    exit $status
}
trap cleanup EXIT

# Ports of their own, so that a Slurm of the machine is not disturbed.
free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])' 2>/dev/null ||
        echo $((20000 + RANDOM % 20000))
}
CTLD_PORT=$(free_port)
SLURMD_PORT=$(free_port)
NODE=$(hostname -s)
CPUS=$(nproc)
chmod 700 "$WORK"
mkdir -p "$WORK/state" "$WORK/spool" "$WORK/munge"
chmod 700 "$WORK/munge"

dd if=/dev/urandom of="$WORK/munge/munge.key" bs=1024 count=1 status=none
chmod 400 "$WORK/munge/munge.key"
munged --force --socket="$WORK/munge/munge.socket" --key-file="$WORK/munge/munge.key" \
    --pid-file="$WORK/munged.pid" --log-file="$WORK/munged.log" --seed-file="$WORK/munge/munge.seed"

cat > "$WORK/slurm.conf" <<CONF
ClusterName=quentortest
SlurmctldHost=$NODE(127.0.0.1)
SlurmctldPort=$CTLD_PORT
SlurmdPort=$SLURMD_PORT
AuthType=auth/munge
AuthInfo=socket=$WORK/munge/munge.socket
CredType=cred/munge
SlurmUser=root
SlurmdUser=root
StateSaveLocation=$WORK/state
SlurmdSpoolDir=$WORK/spool
SlurmctldPidFile=$WORK/slurmctld.pid
SlurmdPidFile=$WORK/slurmd.pid
SlurmctldLogFile=$WORK/slurmctld.log
SlurmdLogFile=$WORK/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MpiDefault=none
NodeName=$NODE NodeAddr=127.0.0.1 CPUs=$CPUS State=UNKNOWN
PartitionName=sweep Nodes=$NODE Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF="$WORK/slurm.conf"

slurmctld -f "$SLURM_CONF"
slurmd -f "$SLURM_CONF" -N "$NODE"

# The node answers within a minute.
for _ in $(seq 120); do
    state=$(sinfo -h -n "$NODE" -o %t 2>/dev/null || true)
    [ "$state" = idle ] && break
    sleep 0.5
done
[ "$state" = idle ] || { echo "the node did not become idle: '$state'"; exit 1; }

threaded_sweep
plan
timeout 240 sbatch --wait --quiet "$WORK/plan/slurm.sh"
compare
