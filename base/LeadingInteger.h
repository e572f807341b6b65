// The usual reading of a number at the start of a text, as the C library's atoi and wcstol do:
// white space skipped, an optional sign, decimal digits up to the first other character. Track
// numbers, genre references and typed numbers all go through it, so that they agree.
#pragma once

#include "base/Types.h"

#include <string_view>

// TRUE when digits follow the white space and sign; nValue is then the number, held at the
// largest 64-bit magnitude when it is larger (so a huge number stays huge), and *pnEnd (when
// given) the index after its last digit. Without digits: FALSE, nValue 0 and *pnEnd 0.
BOOL ParseLeadingInteger(std::u16string_view text, LONGLONG& nValue, int* pnEnd = nullptr);

// The number at the start of the text, 0 when there is none.
LONGLONG GetLeadingInteger(std::u16string_view text);
