#include "app/dialogs/tfrec.h"

#include "core/captions/tagfonts.h"

TtfRec::TtfRec(TtagFonts& live) : live_(&live), working_(std::make_unique<TtagFonts>())
{
    working_->AssignFonts(live, true);
}

TtfRec::~TtfRec() = default;

void TtfRec::Apply() const
{
    live_->AssignFonts(*working_, false);
}

void TtfRec::Revert() const
{
    working_->AssignFonts(*live_, false);
}
