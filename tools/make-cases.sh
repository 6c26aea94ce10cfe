#!/usr/bin/env bash
# Makes the parameter sets Vasora ships for teachers to hand out (content/Parameters), each from
# the normal circulation by the changes a learner would make, run to equilibrium with AutoRun and
# saved, all with vasora-cli; then prints what the model window shows after retrieving each, for
# the information text (content/src/FinalNT/10-using.vtx, "Sets that come with Vasora", and the
# chapter "Clinical cases", 45-cases.vtx). The baroreceptor reflex is a run option and no part of
# a set: the cases say when to tick it.
#   tools/make-cases.sh [VASORA-CLI [FOLDER]]
# Defaults: build/tools/vasora-cli/vasora-cli and content/Parameters. A test makes them afresh
# into a temporary folder and compares them with the committed files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cli=${1:-$root/build/tools/vasora-cli/vasora-cli}
out=${2:-$root/content/Parameters}
mkdir -p "$out"

# name | the changes, as vasora-cli options
cases=(
    "Heart failure|--set lblEmax_LV=20 --set lblVtotalBody=1000"
    "Hemorrhagic shock|--set lblVtotalBody=-1000"
    "AV block|--av-block --set lblHR_LV=35"
    "High intrathoracic pressure|--set lblPit=5"
    "Septic shock|--set lblResisSysA=40 --set lblVunstrsTotal=500"
    "Exercise|--set lblHR_RV=150 --set lblEmax_LV=150 --set lblEmax_RV=150 --set lblResisSysA=50 --set lblVunstrsTotal=-500"
)

for c in "${cases[@]}"; do
    name=${c%%|*}
    read -r -a changes <<<"${c#*|}"
    "$cli" "${changes[@]}" --autorun --save-params "$out/$name.txt" --format text >/dev/null
done

# What the learner sees on retrieving each set.
labels=(lblFlowLeftV lblPressSysA lblSystP lblDiasP lblPra lblPla lblHR_RV lblHR_LV lblSV_LV
        lblVtotalBody lblVstrsTotal lblPmcf lblVolError lblWarning1 lblWarning2 lblWarning3 lblWarning4 lblWarning5)
for c in "${cases[@]}"; do
    name=${c%%|*}
    report=$("$cli" --params "$out/$name.txt" --format text)
    echo "== $name"
    for l in "${labels[@]}"; do
        grep -m1 "^$l	" <<<"$report" || true
    done
done
