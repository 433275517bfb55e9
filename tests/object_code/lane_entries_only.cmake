# Fails when an object of the lane kernels (compiled for one instruction set)
# defines a global or weak function other than its entries. Such a function,
# an inline one say, could be merged at link time with the same function
# compiled for the baseline, and its AVX code would then run for callers on
# processors without AVX. (Data, such as the reference to the C++ runtime's
# personality routine that unwinding needs, holds no instructions.)
#
#   cmake -DNM=nm -DFILES="a.o;b.o" -DENTRY=run_series_avx2 -P lane_entries_only.cmake
foreach(variable NM FILES ENTRY)
  if(NOT ${variable})
    message(FATAL_ERROR "no ${variable} given")
  endif()
endforeach()
foreach(file IN LISTS FILES)
  execute_process(COMMAND ${NM} -C --defined-only ${file}
    OUTPUT_VARIABLE symbols ERROR_VARIABLE problems RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} cannot read ${file}: ${problems}")
  endif()
  string(REGEX MATCHALL "[^\n]* [TWi] [^\n]*" global "${symbols}")
  set(entries 0)
  set(others)
  foreach(line IN LISTS global)
    if(line MATCHES " movlex::${ENTRY}<")
      math(EXPR entries "${entries} + 1")
    else()
      list(APPEND others "${line}")
    endif()
  endforeach()
  if(entries EQUAL 0)
    message(FATAL_ERROR "${file}: no movlex::${ENTRY} entry")
  endif()
  if(others)
    string(REPLACE ";" "\n" shown "${others}")
    message(FATAL_ERROR "${file}: global functions beside the entries:\n${shown}")
  endif()
  message(STATUS "${file}: ${entries} entries and nothing else global")
endforeach()
