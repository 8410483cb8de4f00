#!/usr/bin/env bash
# What scripts/setup decides to install, on machines that differ in what they already have:
# stand-ins on PATH for dpkg-query, dpkg, apt-get, locale, locale-gen, id, clang and sudo record
# every call that would change the machine, and each case checks those calls and the exit status.
set -uo pipefail
setup=$(cd "$(dirname "$0")/../.." && pwd)/scripts/setup
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The stand-ins read the machine's state from $FAKE_STATE and write each call that would change
# it to $FAKE_STATE/calls, "sudo " first when it came through sudo.
fakes="$work/bin"
mkdir -p "$fakes"
stand_in() {  # name, body
  printf '#!/usr/bin/env bash\nstate=$FAKE_STATE\nlog() { echo "${FAKE_VIA:-}$*" >>"$state/calls"; }\n%s\n' "$2" >"$fakes/$1"
  chmod +x "$fakes/$1"
}
stand_in id '[ "$1" = -u ] && echo "$FAKE_UID"'
stand_in sudo 'FAKE_VIA="sudo " exec "$@"'
stand_in clang '[ "$1" = -dumpversion ] && echo "$FAKE_CLANG"'
stand_in locale '[ "$1" = -a ] && cat "$state/locales"'
stand_in locale-gen 'log locale-gen; echo ja_JP.utf8 >>"$state/locales"'
stand_in dpkg '
case "$1" in
  --print-foreign-architectures) cat "$state/foreign" ;;
  --add-architecture) log dpkg "$@"; echo "$2" >>"$state/foreign" ;;
  *) exit 2 ;;
esac'
# As the real one: a line for each installed package of those named, status 1 when any is not.
stand_in dpkg-query '
status=0
for name in "${@:3}"; do
  if line=$(grep -m1 "^$name:" "$state/installed"); then
    echo "$line install ok installed"
  else
    echo "dpkg-query: no packages found matching $name" >&2
    status=1
  fi
done
exit $status'
stand_in apt-get '
words=()
for word in "$@"; do [[ $word == -* ]] || words+=("$word"); done
log apt-get "${words[@]}"
[ "${words[0]}" = install ] || exit 0
[ -z "${FAKE_APT_FAILS:-}" ] || exit "$FAKE_APT_FAILS"
for package in "${words[@]:1}"; do
  [[ $package == *:* ]] || package="$package:amd64"
  echo "$package" >>"$state/installed"
done'

# Every package that setup installs, in its order: what the README promises a fresh machine.
everything=(cmake make g++ python3 python3-yaml clang libgtest-dev googletest g++-mingw-w64-i686
  binutils-mingw-w64-i686 mingw-w64-tools wine wine32:i386 wine64 xvfb xauth imagemagick
  x11-utils locales fp-utils texlive-binaries texlive-base ghostscript poppler-utils clang-format
  nsis libclang-rt-14-dev)

passed=0
failed=0
# One case: a machine whose state the options set, the calls expected (one a line) and the
# exit status expected.
#   --installed "PACKAGES" (default: none)   --all-but "PACKAGES"   --no-i386
#   --locales "NAMES"      --uid N           --clang VERSION        --apt-fails STATUS
#   --locale-gen "TEXT"    (the locales file, default with the Japanese line commented out)
check() {  # name, options..., --, expected calls, expected status[, text expected on stderr]
  local name=$1
  shift
  local state="$work/$name" uid=0 clang=14.0.6 apt_fails=""
  mkdir -p "$state"
  : >"$state/installed"
  : >"$state/calls"
  echo i386 >"$state/foreign"
  printf 'C\nC.utf8\nPOSIX\n' >"$state/locales"
  printf '# en_US.UTF-8 UTF-8\n# ja_JP.UTF-8 UTF-8\n' >"$state/locale.gen"
  while [ "$1" != -- ]; do
    case "$1" in
      --installed) printf '%s\n' $2 | sed '/:/!s/$/:amd64/' >"$state/installed" ;;
      --all-but)
        printf '%s\n' "${everything[@]}" | grep -vxF -f <(printf '%s\n' $2) |
          sed '/:/!s/$/:amd64/' >"$state/installed" ;;
      --no-i386) : >"$state/foreign"; shift; continue ;;
      --locales) printf '%s\n' $2 >"$state/locales" ;;
      --uid) uid=$2 ;;
      --clang) clang=$2 ;;
      --apt-fails) apt_fails=$2 ;;
      --locale-gen) printf '%s\n' "$2" >"$state/locale.gen" ;;
    esac
    shift 2
  done
  local expected_calls=$2 expected_status=$3 expected_error=${4:-}
  PATH="$fakes:$PATH" FAKE_STATE="$state" FAKE_UID=$uid FAKE_CLANG=$clang \
    FAKE_APT_FAILS=$apt_fails CORVANE_SETUP_LOCALE_GEN="$state/locale.gen" \
    bash "$setup" >/dev/null 2>"$state/stderr"
  local status=$? problems=()
  [ "$status" -eq "$expected_status" ] || problems+=("exit status $status, expected $expected_status")
  [ "$(cat "$state/calls")" = "$expected_calls" ] ||
    problems+=("calls:" "$(sed 's/^/    /' "$state/calls")" "  expected:" "$(sed 's/^/    /' <<<"$expected_calls")")
  [ -z "$expected_error" ] || grep -qF -- "$expected_error" "$state/stderr" ||
    problems+=("no \"$expected_error\" on standard error:" "$(sed 's/^/    /' "$state/stderr")")
  if [[ $expected_calls == *locale-gen* ]] && ! grep -qx 'ja_JP.UTF-8 UTF-8' "$state/locale.gen"; then
    problems+=("ja_JP.UTF-8 is not enabled in the locales file")
  fi
  if [ ${#problems[@]} -eq 0 ]; then
    passed=$((passed + 1))
    echo "ok: $name"
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
    printf '  %s\n' "${problems[@]}"
  fi
}

all_but_runtime="${everything[*]:0:${#everything[@]}-1}"
check nothing-installed -- "apt-get update
apt-get install $all_but_runtime
apt-get install libclang-rt-14-dev
locale-gen" 0
check some-installed --all-but "wine32:i386 nsis" --locales "C ja_JP.UTF-8" -- "apt-get update
apt-get install wine32:i386 nsis" 0
check everything-installed --all-but "" --locales "C.utf8 ja_JP.utf8" -- "" 0
check i386-added-then-one-update --all-but "wine32:i386 libclang-rt-14-dev" --no-i386 \
  --locales "ja_JP.utf8" -- "dpkg --add-architecture i386
apt-get update
apt-get install wine32:i386
apt-get install libclang-rt-14-dev" 0
check locale-line-missing --all-but "" --locale-gen "# en_US.UTF-8 UTF-8" -- "locale-gen" 0
check another-clang --all-but "libclang-rt-14-dev" --clang 16.0.6 --locales "ja_JP.utf8" -- \
  "apt-get update
apt-get install libclang-rt-16-dev" 0
check not-root --all-but "nsis" --uid 1000 -- "sudo apt-get update
sudo apt-get install nsis
sudo locale-gen" 0
check install-fails-named --all-but "nsis" --apt-fails 100 --locales "ja_JP.utf8" -- \
  "apt-get update
apt-get install nsis" 100 "setup: FAILED: \`\$SUDO apt-get install"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
