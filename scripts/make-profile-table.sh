#!/usr/bin/env bash
# Measures the sample profiles of data/profiles/ with `quoinry section` and writes their pictures
# and data/profiles/profiles.tsv: series, number, the fifteen values of a profile record in
# record order (strength, shear, wall thickness, area, modulus, Ix, Iy, Wx1, Wx2, Wy1, Wy2,
# Sx1, Sx2, Sy1, Sy2) and the picture file. Usage: scripts/make-profile-table.sh [QUOINRY]
set -euo pipefail
cd "$(dirname "$0")/.."
quoinry="${1:-build/release/app/quoinry}"
dir=data/profiles
strength=85.4 shear=49.6 modulus=70000

# drawing   series   number   wall thickness at the checked point (mm)
profiles="
kc60-frame    60平开窗  KC60-01  1.6
kc60-sash     60平开窗  KC60-02  1.8
tl70-frame    70推拉窗  TL70-01  1.4
tl70-sash     70推拉窗  TL70-02  1.4
zt60-mullion  60中梃    ZT60-01  2
ht60-transom  60中梃    HT60-01  1.6
mk50-frame    50平开门  MK50-01  2
mk50-sash     50平开门  MK50-02  2
yg50-tube     圆管      YG50-01  2
"

table="$dir/profiles.tsv"
printf 'xl\tmc\tstrength\tshear\tthickness\tarea\tmodulus\tix\tiy\twx1\twx2\twy1\twy2\tsx1\tsx2\tsy1\tsy2\tpicture\n' >"$table"
while read -r name series number thickness; do
    [[ -z "$name" ]] && continue
    declare -A v=()
    while IFS='=' read -r key value; do v[$key]=$value; done \
        < <("$quoinry" section "$dir/$name.dxf" --picture "$dir/$name.wmf")
    printf '%s\t' "$series" "$number" "$strength" "$shear" "$thickness" "${v[A]}" "$modulus" \
        "${v[Ix]}" "${v[Iy]}" "${v[Wx1]}" "${v[Wx2]}" "${v[Wy1]}" "${v[Wy2]}" \
        "${v[Sx1]}" "${v[Sx2]}" "${v[Sy1]}" >>"$table"
    printf '%s\t%s\n' "${v[Sy2]}" "$name.wmf" >>"$table"
    unset v
done <<<"$profiles"
echo "wrote $table"
