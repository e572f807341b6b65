// The frames of an ID3v2 tag in file order. The list owns them; callers hold plain pointers only
// while the frame is in the list.
#pragma once

#include "tags/id3v2/ID3v2Frame.h"

#include <list>
#include <memory>

namespace Tags::ID3v2Tag
{

using CFrameList = std::list<std::unique_ptr<CFrame>>;

} // namespace Tags::ID3v2Tag
