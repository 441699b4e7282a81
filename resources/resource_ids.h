// Resource identifiers of the player executable. Shared by the resource script and the code.
#pragma once

#define IDD_BOARD 1001
#define IDD_HEADER 1002
#define IDC_LINK_CURSOR 1003
#define IDI_PLAY 1004
#define IDI_STOP 1005
#define IDI_APP 1

#ifndef RC_INVOKED
// The controls of template IDD_HEADER. The header pane makes them all; the score writes two of
// them, which is why they are kept here rather than with either.
inline constexpr int kLinkId = 24;
inline constexpr int kByLabelId = 25;
inline constexpr int kCreatorId = 26;
inline constexpr int kSaveButtonId = 27;
inline constexpr int kExplanationId = 28;
inline constexpr int kTitleId = 29;
inline constexpr int kCodeFieldId = 30;
inline constexpr int kCodeLabelId = 31;
inline constexpr int kScoreFieldId = 32;
inline constexpr int kScoreRuleId = 120;
inline constexpr int kLeftRuleId = 121;
inline constexpr int kRightRuleId = 122;
#endif
