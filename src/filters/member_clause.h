#pragma once
// The member filter's condition, made from the nine boxes of Filter Members. A pure function,
// so that every condition it can give is proven to translate and to select the right members.
#include <QString>
#include <array>

namespace filters {

inline constexpr int kMemberBoxes = 9;

struct MemberCondition {
    // Without the word WHERE, one blank at its end ("[City] Like 'Boston' "); "" when every box
    // is empty, which removes the filter.
    QString condition;
    // Set instead when the boxes cannot make a condition: the message for the user. The filter
    // in force and its captions then stay as they are.
    QString refusal;
};

// Box 0 is the member number, read leniently: its leading number ("12abc" is 12, "abc" is 0).
// Boxes 1 to 8 are Like patterns over their field as typed: * and ? act as wildcards (the dialog
// invites them), every other character stands for itself, apostrophes included. A text without
// a wildcard matches the whole field, letter case ignored.
MemberCondition memberCondition(const std::array<QString, kMemberBoxes>& boxes);

// The field name box i searches, as the condition writes it ("[Firstname]").
QString memberConditionField(int box);

} // namespace filters
