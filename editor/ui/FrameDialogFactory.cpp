#include "editor/ui/FrameDialogFactory.h"

std::unique_ptr<CFrameBaseDialog> CreateFrameDialog(const Tags::ID3v2Tag::CFrame&, QWidget*)
{
    return nullptr;
}
