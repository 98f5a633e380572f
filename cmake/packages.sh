# The Debian packages that ./run, ./test and CI install, and the one way they install
# them; sourced, not run.

# package_groups: NAME=PACKAGES, installed a group at a time, so that a package that cannot
# be had costs no more than its own use. "build" is what ./run needs: the build configures
# with the test and benchmark libraries.
package_groups=(
  "build=cmake ninja-build g++ pkg-config libutf8proc-dev libgtest-dev libgmock-dev libbenchmark-dev"
  "pages=python3 unicode-data man-db"          # page examples, Unicode's own test
  "clang=clang libclang-rt-14-dev"             # sanitizers, libFuzzer
  "analysis=clang-format clang-tidy cppcheck"  # formatting, analysis
  "memcheck=valgrind"
  "windows32=g++-mingw-w64-i686"               # the 32-bit Windows program
  "windows64=g++-mingw-w64-x86-64 wine wine64" # the 64-bit one, and Wine
  "wine32=wine32:i386"                         # Wine's 32-bit loader
  "package=dpkg-dev file lintian"              # the Debian package
)

# install_packages ROOT GROUP...: installs what the named groups ("all" for every group)
# lack, with apt-get as root or through a sudo that asks no password, every message on
# standard error. A group that cannot be installed is skipped with a warning, and noted in
# ROOT/build/packages-not-installable so that later runs do not try again (remove the file
# to try again); one that cannot be installed for want of root is named. Fails only when
# the build's own group is missing.
install_packages() {
  local root="$1" noted="$1/build/packages-not-installable" entry name missing package
  shift
  command -v apt-get >/dev/null 2>&1 || return 0  # not Debian: the README lists the packages
  local -a as_root=()
  local updated=false privileged=unknown
  for entry in "${package_groups[@]}"; do
    name="${entry%%=*}"
    [[ " $* " == *" all "* || " $* " == *" $name "* ]] || continue
    missing=()
    for package in ${entry#*=}; do
      [[ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null)" == "ii "* ]] ||
        missing+=("$package")
    done
    ((${#missing[@]})) || continue
    if [[ "$name" != build ]] && grep -qx "$name" "$noted" 2>/dev/null; then
      echo "warning: ${missing[*]} could not be installed before; going on (rm $noted to try again)" >&2
      continue
    fi
    if [[ "$privileged" == unknown ]]; then
      privileged=true
      if ((EUID != 0)); then
        if command -v sudo >/dev/null 2>&1 && sudo -n true </dev/null >/dev/null 2>&1; then
          as_root=(sudo -n)
        else
          privileged=false
        fi
      fi
    fi
    if [[ "$privileged" == false ]]; then
      echo "missing, and no root or password-less sudo to install it: ${missing[*]}" >&2
      [[ "$name" != build ]] || return 1
      continue
    fi
    echo "installing: ${missing[*]}" >&2
    if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
      "${as_root[@]}" dpkg --add-architecture i386 >&2 && updated=false
    fi
    if ! $updated; then
      "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q </dev/null >&2 &&
        updated=true
    fi
    if ! "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null >&2; then
      echo "warning: could not install ${missing[*]}; going on without them" >&2
      [[ "$name" != build ]] || return 1
      mkdir -p "${noted%/*}" && echo "$name" >>"$noted"
    fi
  done
}
