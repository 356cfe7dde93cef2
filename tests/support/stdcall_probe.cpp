#include "support/stdcall_probe.h"

#include <vector>

// ULONG_PTR CallAndMeasure(routine, arguments, count, int* bytesPopped)
extern "C" ULONG_PTR CallAndMeasure(const void* routine, const ULONG_PTR* arguments, int count, int* bytesPopped);

asm(R"(
    .text
    .globl _CallAndMeasure
_CallAndMeasure:
    pushl %ebp
    movl  %esp, %ebp
    pushl %esi
    pushl %edi
    movl  12(%ebp), %esi
    movl  16(%ebp), %ecx
1:  testl %ecx, %ecx
    jz    2f
    decl  %ecx
    pushl (%esi,%ecx,4)
    jmp   1b
2:  movl  %esp, %edi
    call  *8(%ebp)
    movl  %esp, %ecx
    subl  %edi, %ecx
    movl  20(%ebp), %edx
    movl  %ecx, (%edx)
    leal  -8(%ebp), %esp
    popl  %edi
    popl  %esi
    popl  %ebp
    ret
)");

StdcallResult CallStdcall(const void* routine, std::initializer_list<ULONG_PTR> arguments) {
  const std::vector<ULONG_PTR> pushed(arguments);
  StdcallResult result{};
  result.value = CallAndMeasure(routine, pushed.data(), static_cast<int>(pushed.size()), &result.bytesPopped);
  return result;
}

const void* TableEntry(const void* object, int slot) {
  const void* const* table = *static_cast<const void* const* const*>(object);
  return table[slot];
}
