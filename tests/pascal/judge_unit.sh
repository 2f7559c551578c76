# Sourced by the scripts that compile generated units with Free Pascal for win64.
#
# judge_unit LABEL SOURCE OUT_DIR OUTCOME CONSTRUCT [FPC_OPTION...]
# Compiles SOURCE (its log beside the compiled units in OUT_DIR) and compares the result with
# OUTCOME: "compiles", or a part of the first error expected. Prints one line, "ok" or
# "FAIL", and returns 1 for an unexpected outcome. FPC names the compiler (default fpc).
judge_unit() {
  local label="$1" source="$2" out="$3" outcome="$4" construct="$5"
  shift 5
  mkdir -p "$out"
  local log="$out/$(basename "$source" .pas).log"
  "${FPC:-fpc}" -n -Twin64 -Px86_64 -Mdelphi "$@" -FU"$out" "$source" >"$log" 2>&1
  local status=$?
  local first_error
  first_error="$(grep -m 1 -E '(Error|Fatal): ' "$log" | sed 's/^[^ ]* //')"
  if [ "$outcome" = "compiles" ]; then
    if [ $status -eq 0 ]; then
      echo "ok       $label compiles"
      return 0
    fi
    echo "FAIL     $label should compile ($construct); first error: $first_error"
    return 1
  fi
  if [ $status -eq 0 ]; then
    echo "FAIL     $label compiles now; the list expects: $outcome ($construct)"
    return 1
  fi
  if [[ "$first_error" == *"$outcome"* ]]; then
    echo "ok       $label fails as expected: $construct"
    return 0
  fi
  echo "FAIL     $label: first error \"$first_error\", expected \"$outcome\" ($construct)"
  return 1
}
