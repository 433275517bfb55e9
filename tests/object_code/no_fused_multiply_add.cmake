# Fails when the disassembly of FILE holds a fused multiply-add (or
# multiply-subtract) instruction of any architecture the library is built
# for: the library is compiled with -ffp-contract=off, so none of its code
# may round a * b + c once instead of twice.
#
#   cmake -DOBJDUMP=objdump -DFILE=libmovlex-ta-dll.so -P no_fused_multiply_add.cmake
foreach(variable OBJDUMP FILE)
  if(NOT ${variable})
    message(FATAL_ERROR "no ${variable} given")
  endif()
endforeach()
execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${FILE}
  OUTPUT_VARIABLE disassembly ERROR_VARIABLE problems RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT disassembly MATCHES "\n[ \t]*[0-9a-f]+:\t")
  message(FATAL_ERROR "${OBJDUMP} cannot disassemble ${FILE}: ${problems}")
endif()

# Mnemonics, each right after the tab that follows an instruction address
# and followed by blanks:
#   x86 (FMA3, FMA4)  vfmadd..., vfmsub..., vfnmadd..., vfnmsub..., vfmaddsub...
#   aarch64           fmadd, fmsub, fnmadd, fnmsub; vector fmla, fmls, fmlal...
#   s390x             madbr, madb, msdbr, msdb (and the short forms maebr, ...);
#                     vector vfma, vfms, vfnma, vfnms, wfmadb, wfmsdb, ...
#                     (not the multiplications vfmdb, vfmsb or vfmax, vfmin)
#   riscv64           fmadd.d, fmsub.d, fnmadd.d, fnmsub.d (and .s)
set(fused "vfn?m(add|sub)[0-9a-z]*|fn?m(add|sub)(\\.[dsqh])?|fml[as]l?2?|m[as][de]br?|[vw]fn?m[as](db|sb|xb)?")
string(REGEX MATCHALL "\n[ \t]*[0-9a-f]+:\t(${fused})[ \t][^\n]*" found "${disassembly}")
list(LENGTH found count)
if(count GREATER 0)
  list(SUBLIST found 0 5 shown)
  string(REPLACE "\n" "" shown "${shown}")
  string(REPLACE ";" "\n" shown "${shown}")
  message(FATAL_ERROR "${FILE}: ${count} fused multiply-add instruction(s), e.g.\n${shown}")
endif()
message(STATUS "${FILE}: no fused multiply-add instruction")
