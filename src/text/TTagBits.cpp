#include "TTagBits.h"

namespace text {

void TTagBits::SetTag(int key, bool value)
{
    if (key < 0)
        return;
    if (key >= size())
        resize(key + 1); // new bits are false
    setBit(key, value);
}

bool TTagBits::GetTag(int key) const
{
    return key >= 0 && key < size() && testBit(key);
}

} // namespace text
