#include "support/stdcall_probe.h"

#include <vector>

#if defined(__i386__)

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

#else

namespace {

// Extra arguments are harmless where the caller cleans the stack.
using NineArguments = ULONG_PTR (*)(ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR, ULONG_PTR,
                                    ULONG_PTR, ULONG_PTR);

ULONG_PTR CallAndMeasure(const void* routine, const ULONG_PTR* arguments, int count, int* bytesPopped) {
  ULONG_PTR a[9] = {};
  for (int i = 0; i < count && i < 9; ++i) a[i] = arguments[i];
  *bytesPopped = kStackBytesUnknown;
  // A HRESULT comes back in the low half of the register; the high half is not defined.
  const ULONG_PTR value = reinterpret_cast<NineArguments>(const_cast<void*>(routine))(a[0], a[1], a[2], a[3], a[4],
                                                                                      a[5], a[6], a[7], a[8]);
  return value & 0xFFFFFFFFu;
}

}  // namespace

#endif

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
