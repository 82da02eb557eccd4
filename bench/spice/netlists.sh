#!/bin/bash
# netlists.sh DIR: writes SPICE netlists of the benchmark circuits of
# quentor-bench-circuits into DIR, for timing Debian's ngspice on the same
# circuits and steps: backward Euler (gear, order 1), fixed step 1e-5,
# initial conditions zero.
set -e
dir=$1
mkdir -p "$dir"
footer() { # T
    printf '.options method=gear maxord=1\n.tran 1e-5 %s 0 1e-5 uic\n.control\nrun\nquit\n.endc\n.end\n' "$1"
}
ladder() { # sections T
    {
        echo "RC ladder $1"
        echo "V1 src 0 DC 12"
        echo "Rs src n0 0.01"
        for k in $(seq 1 "$1"); do
            echo "R$k n$((k - 1)) n$k 1k"
            echo "C$k n$k 0 1u"
        done
        footer "$2"
    } >"$dir/ladder$1.cir"
}
ladder 1 1
ladder 10 1
ladder 100 0.02
ladder 1000 0.002
ladder 10000 0.01
# The 30 x 30 grid: 1 kOhm between neighbours, 1 uF from every node to
# ground, the middle horizontal element of each row a diode.
{
    echo "RC mesh 30x30 with a diode in each row"
    echo "V1 src 0 DC 12"
    echo "Rs src n0_0 0.01"
    echo ".model DX D(IS=1e-14 N=1 RS=0.03)"
    for i in $(seq 0 29); do
        for j in $(seq 0 29); do
            echo "C${i}_$j n${i}_$j 0 1u"
            if [ "$j" -lt 29 ]; then
                if [ "$j" -eq 15 ]; then echo "D${i}_$j n${i}_$j n${i}_$((j + 1)) DX"
                else echo "RH${i}_$j n${i}_$j n${i}_$((j + 1)) 1k"; fi
            fi
            [ "$i" -lt 29 ] && echo "RV${i}_$j n${i}_$j n$((i + 1))_$j 1k"
        done
    done
    footer 0.002
} >"$dir/mesh30.cir"
