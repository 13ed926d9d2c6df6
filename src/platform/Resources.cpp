#include "platform/Resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE may not be used inside a namespace.
static void registerCompiledResources() {
    Q_INIT_RESOURCE(ladoton);
}

namespace ladoton {

void loadResources() {
    registerCompiledResources();
}

} // namespace ladoton
