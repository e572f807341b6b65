// The frame edit dialog for a frame of a tag: the dialog of its kind, or none for a frame that
// can only be removed (or kept).
#pragma once

#include "editor/ui/FrameBaseDialog.h"

#include <memory>

namespace Tags::ID3v2Tag
{
class CFrame;
}

std::unique_ptr<CFrameBaseDialog> CreateFrameDialog(const Tags::ID3v2Tag::CFrame& frame,
                                                    QWidget* pParent);
