#pragma once

#include <QBitArray>

namespace text {

// A growable set of bits keyed by plant key. Reading beyond the size gives false and never grows it.
class TTagBits : public QBitArray {
public:
    void SetTag(int key, bool value);
    bool GetTag(int key) const;
    void Clear() { QBitArray::clear(); }
};

} // namespace text
