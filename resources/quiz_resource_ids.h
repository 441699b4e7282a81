// The resources that carry a quiz in a copy of the player: what the maker writes and the player
// reads. Identifiers are macros so that resource scripts can use them too.
#pragma once

// The quiz text and the completion codes, compressed, of type kQuizResourceType.
#define IDR_QUIZ_TEXT 104
#define IDR_QUIZ_CODES 105
// Question n's picture or clip is IDR_QUESTION_MEDIA_BASE + n, its reward picture
// IDR_REWARD_PICTURE_BASE + n, both of type kMediaResourceType.
#define IDR_QUESTION_MEDIA_BASE 400
#define IDR_REWARD_PICTURE_BASE 10400

#ifndef RC_INVOKED
inline constexpr const char* kQuizResourceType = "PATCH";
inline constexpr const char* kMediaResourceType = "IMG";
#endif
