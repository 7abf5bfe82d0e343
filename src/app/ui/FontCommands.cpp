// The font style dialog. Not built yet: FONTBUT stays disabled.
#include "app/ui/MainWindow.h"

void TForm1::buildFontDialog() {}
void TForm1::FONTBUTClick() {}
