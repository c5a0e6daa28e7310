#!/usr/bin/env bash
# A walk through the client's requests with curl against a freshly started demo service: version check, partner
# configuration, log-in, home, detail, loan, book download, return, and the annotation document coming back at the
# next loan. Exits non-zero at the first answer that is not what the client expects.
#
#   demo/walk.sh [path/to/elumira-demo-service] [data-dir]
set -euo pipefail

service=${1:-build/demo/elumira-demo-service}
data_dir=${2:-${XDG_CACHE_HOME:-$HOME/.cache}/elumira-demo}
work=$(mktemp -d)
pid=

finish() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT

fail() {
    echo "walk: $*" >&2
    exit 1
}

# expect JSON-TEXT JQ-FILTER EXPECTED: the filter's raw output must equal EXPECTED.
expect() {
    local got
    got=$(jq -r "$2" <<<"$1") || fail "not JSON: $1"
    [ "$got" = "$3" ] || fail "$2 is '$got', expected '$3' in: ${1:0:400}"
}

# same TEXT EXPECTED WHAT: plain text comparison.
same() {
    [ "$1" = "$2" ] || fail "$3 is '$1', expected '$2'"
}

started=$(date +%s%N)
"$service" --port 0 --data-dir "$data_dir" >"$work/out" 2>"$work/err" &
pid=$!
for _ in $(seq 300); do
    grep -q '^listening on ' "$work/out" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || fail "the service ended: $(cat "$work/err")"
    sleep 0.1
done
line=$(head -n 1 "$work/out")
[[ $line =~ ^listening\ on\ 127\.0\.0\.1:([0-9]+)$ ]] || fail "no port announced: $line"
base="http://127.0.0.1:${BASH_REMATCH[1]}"
echo "walk: service up at $base after $((($(date +%s%N) - started) / 1000000)) ms"

uuid=0000001F
device=(-H "CLIENTID: 395" -H "OS: WIN" -H "UUID: $uuid")

a=$(curl -sS -X POST --data 'kode=QWT5062rxm&os=WIN&versi=4' "$base/api/wl/checkAppVersion")
expect "$a" .code 200

a=$(curl -sS "${device[@]}" "$base/api/wl/mitra")
expect "$a" .code 200
expect "$a" '.data.nama | length > 0' true
expect "$a" '.data.daftar_pekerjaan | split(";") | length > 1' true
logo=$(jq -r .data.logo_login <<<"$a")
same "$(curl -sS -o /dev/null -w '%{http_code} %{content_type}' "$base/prod/img/logo/$logo")" "200 image/png" "the logo"

a=$(curl -sS -H "OS: WIN" -H "CLIENTID: 395" -H "UUID: $uuid" \
    --data 'user=bima.pratama%40telmarin.example&pass=Pustaka88&uuid=0000001F' "$base/api/wl/executeLogin")
expect "$a" .code 200
expect "$a" .data.nama "Bima Ardiansyah Pratama"
member=("${device[@]}" -H "KEY: $(jq -r .data.token <<<"$a")" -H "USERID: $(jq -r .data.id_user <<<"$a")"
    -H "USERLEVEL: $(jq -r .data.level <<<"$a")")

a=$(curl -sS "${member[@]}" "$base/api/wl/listBanner")
expect "$a" .code 200
expect "$a" '.data | length' 5
a=$(curl -sS "${member[@]}" "$base/api/wl/menu")
expect "$a" .code 200
expect "$a" '[.data_departemen[] | select(.nama_departemen == "BUKU NON KOLEKSI")] | length' 1
for page in 1 2 3 4; do
    a=$(curl -sS "${member[@]}" --data "page=$page&limit=10" "$base/api/wl/listHomepage")
    expect "$a" .code 200
    expect "$a" .count 25
    expect "$a" .total "$(case $page in 1 | 2) echo 10 ;; 3) echo 5 ;; *) echo 0 ;; esac)"
done

book=1030
a=$(curl -sS "${member[@]}" --data "id_konten=$book" "$base/api/wl/detailKonten")
expect "$a" .code 200
expect "$a" .data.id "$book"
expect "$a" .data.halaman_total 20
file=$(jq -r .data.nama_pc_file <<<"$a")
cover=$(jq -r .data.cover_file <<<"$a")
same "$(curl -sS -o /dev/null -w '%{http_code} %{content_type}' "$cover")" "200 image/jpeg" "the cover"

a=$(curl -sS "${member[@]}" --data "id_konten=$book" "$base/api/wl/requestBaca")
expect "$a" .code 200
expect "$a" .file_anotasi 0
expect "$a" .page_index 0
loan=$(jq -r .id_baca <<<"$a")

same "$(curl -sS -o "$work/book.pdf" -w '%{http_code} %{content_type}' "$base/pc/lkr/$file")" "200 application/pdf" \
    "the book download"
same "$(head -c 4 "$work/book.pdf")" "%PDF" "the book file's start"

a=$(curl -sS "${member[@]}" --data "id_baca=$loan&status=1" "$base/api/wl/updateReadStatus")
expect "$a" .code 200
a=$(curl -sS "${member[@]}" --data "id_konten=$book&id_baca=$loan&page_index=7" "$base/api/wl/bookReturn")
expect "$a" .code 200

cat >"$work/annotations.json" <<EOF
{
    "id_konten": "$book",
    "data": [
        {
            "page": 3,
            "type": "RECTANGLE",
            "color": 255,
            "point": { "left": 72.5, "top": 400.25, "right": 200, "bottom": 350 }
        }
    ]
}
EOF
json=(-H "Content-Type: application/json; charset=utf-8")
a=$(curl -sS "${member[@]}" "${json[@]}" --data-binary "@$work/annotations.json" "$base/api/wl/saveAnotasi")
expect "$a" .code 200
a=$(curl -sS "${member[@]}" "${json[@]}" --data-binary "{\"id_konten\":\"$book\",\"data\":[{\"page\":\"3\",\"text\":\"Frasa\"}]}" \
    "$base/api/wl/copyText")
expect "$a" .code 200

a=$(curl -sS "${member[@]}" --data "id_konten=$book" "$base/api/wl/requestBaca")
expect "$a" .code 200
expect "$a" .page_index 7
address=$(jq -r .file_anotasi <<<"$a")
[[ $address == "$base/"* ]] || fail "file_anotasi is '$address'"
curl -sS "${member[@]}" -o "$work/served.json" "$address"
cmp -s "$work/annotations.json" "$work/served.json" || fail "the annotation document came back changed"
a=$(curl -sS "${member[@]}" --data "id_konten=$book&id_baca=$(jq -r .id_baca <<<"$a")&page_index=0" "$base/api/wl/bookReturn")
expect "$a" .code 200

a=$(curl -sS "${member[@]}" --data "id_user=1002" "$base/api/wl/executeLogout")
expect "$a" .code 200
a=$(curl -sS "${member[@]}" "$base/api/wl/listBanner")
expect "$a" .code 500
expect "$a" .msg "Auth Failed"

echo "walk: every answer as expected"
