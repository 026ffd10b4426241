#pragma once

#include <QString>

#include <array>

namespace data {

// Property strings: one digit "0".."9" per property. A formula's profile is the
// percentage-weighted sum of its ingredients' strings, slot by slot.
constexpr int ProfileSlots = 14;
constexpr int ChannelCount = 12;
constexpr int TasteCount = 8;
constexpr int NatureCount = 5;
constexpr int ChannelsWidth = 14;
constexpr int TastesWidth = 10;
constexpr int NaturesWidth = 10;

using ProfileSlotsArray = std::array<double, ProfileSlots>;

// Adds Digits x Percent / 100 to the accumulator slots, position by position (at most 14 positions; a
// character that is not a digit adds nothing).
void addWeightedProfile(ProfileSlotsArray &acc, double percent, const QString &digits);

// The string of the accumulator slots, each rounded to the nearest integer with halves going to the even
// neighbour. A slot can only exceed 9 when the percentages add up to more than 100; it is kept at 9
// so that every position stays one digit.
QString profileString(const ProfileSlotsArray &acc);

} // namespace data
