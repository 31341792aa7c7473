#include "ui/FMaster.h"

#include "ui/uPrintPage.h"

void TMaster::PrintCards()
{
    FPrintPage->PrintCards();
}
