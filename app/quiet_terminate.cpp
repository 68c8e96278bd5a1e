// The C++ runtime's default answer to an uncaught exception prints the
// exception's demangled type to standard error, which a windowed program does
// not have; it also links the whole demangler (about a tenth of the program).
// The program itself throws nothing, so only a failed allocation in the
// standard library could get here: end as the default handler ends.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
