#include "ui/FMaster.h"

void TMaster::PrintCards()
{
    // The print job is not part of this window yet: the button does nothing.
}
