// The element insertion dialogs. Not built yet: their buttons stay disabled.
#include "app/ui/MainWindow.h"

void TForm1::buildElementDialogs() {}
