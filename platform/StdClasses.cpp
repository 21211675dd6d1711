// The built-in window classes: filled by the built-in classes' own units.
#include "platform/StdClasses.h"

void RegisterStandardClasses() {}
