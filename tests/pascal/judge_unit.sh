# Sourced by the scripts that compile generated units with Free Pascal for win64.
#
# compile_unit SOURCE OUT_DIR [FPC_OPTION...]
# Compiles SOURCE (its log beside the compiled units in OUT_DIR); sets unit_status to the
# compiler's exit status and unit_first_error to the first error it reports. FPC names the
# compiler (default fpc).
compile_unit() {
  local source="$1" out="$2"
  shift 2
  mkdir -p "$out"
  local log="$out/$(basename "$source" .pas).log"
  "${FPC:-fpc}" -n -Twin64 -Px86_64 -Mdelphi "$@" -FU"$out" "$source" >"$log" 2>&1
  unit_status=$?
  unit_first_error="$(grep -m 1 -E '(Error|Fatal): ' "$log" | sed 's/^[^ ]* //')"
}

# judge_outcome LABEL OUTCOME CONSTRUCT STATUS FIRST_ERROR
# Compares a compile's result with OUTCOME: "compiles", or a part of the first error
# expected. Prints one line, "ok" or "FAIL", and returns 1 for an unexpected outcome.
judge_outcome() {
  local label="$1" outcome="$2" construct="$3" status="$4" first_error="$5"
  if [ "$outcome" = "compiles" ]; then
    if [ "$status" -eq 0 ]; then
      echo "ok       $label compiles"
      return 0
    fi
    echo "FAIL     $label should compile ($construct); first error: $first_error"
  elif [ "$status" -eq 0 ]; then
    echo "FAIL     $label compiles now; the list expects: $outcome ($construct)"
  elif [[ "$first_error" == *"$outcome"* ]]; then
    echo "ok       $label fails as expected: $construct"
    return 0
  else
    echo "FAIL     $label: first error \"$first_error\", expected \"$outcome\" ($construct)"
  fi
  return 1
}

# judge_unit LABEL SOURCE OUT_DIR OUTCOME CONSTRUCT [FPC_OPTION...]: both of the above.
judge_unit() {
  local label="$1" source="$2" out="$3" outcome="$4" construct="$5"
  shift 5
  compile_unit "$source" "$out" "$@"
  judge_outcome "$label" "$outcome" "$construct" "$unit_status" "$unit_first_error"
}
