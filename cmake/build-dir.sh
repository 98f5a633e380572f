# Shell helpers shared by ./run and ./test; sourced, not run.

# release_options: the one configuration of build/, so that ./test builds only what ./run
# has not. Warnings are no errors here: a newer compiler's new warning must not stop a
# newcomer's ./run; the sanitized build, the fuzz build and the Windows build make them
# errors.
release_options=(-DCMAKE_BUILD_TYPE=Release -DINTCALC_BUILD_TESTS=ON -DINTCALC_BUILD_BENCHMARKS=ON)

# configure_build_dir DIR [CMAKE ARGS...]: configures DIR once, with Ninja when it is there;
# later builds in DIR reconfigure by themselves when a CMakeLists.txt changes.
configure_build_dir() {
  local dir="$1"
  shift
  if [[ -f "$dir/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$dir" "$@" >/dev/null
    return
  fi
  local generator=()
  if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
  cmake -S "$root" -B "$dir" "${generator[@]}" "$@"
}
