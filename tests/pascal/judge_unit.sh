# Sourced by check_units.sh and check_libraries.sh: the one judgement of a compiled unit.
#
# judge_unit LABEL OUTCOME CONSTRUCT STATUS FIRST_ERROR prints "ok ..." or "FAIL ..." and
# returns 1 for an unexpected outcome: OUTCOME is "compiles" or a part of the first error
# the compiler must report (STATUS is the compiler's exit status).
judge_unit() {
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
