// The CSS reference and the number dialog. Not built yet: STYLEBUT stays disabled.
#include "app/ui/MainWindow.h"

void TForm1::buildStyleReference() {}
