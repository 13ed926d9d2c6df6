#pragma once

namespace ladoton {

// Registers the program's compiled-in resources (the icon). They live in a static library,
// whose registration the linker drops unless something calls it.
void loadResources();

} // namespace ladoton
