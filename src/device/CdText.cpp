#include "CdText.h"

#include <algorithm>

namespace {
bool Blank(const CdText::Texts& texts) {
    return texts.title.empty() && texts.performer.empty() && texts.songwriter.empty();
}
}  // namespace

bool CdText::Empty() const {
    return Blank(disc) && std::all_of(tracks.begin(), tracks.end(), Blank);
}
