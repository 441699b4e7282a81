// Resource identifiers of the player executable. Shared by the resource script and the code.
#pragma once

#define IDD_BOARD 1001
#define IDD_HEADER 1002
#define IDC_LINK_CURSOR 1003
#define IDI_PLAY 1004
#define IDI_STOP 1005
#define IDI_APP 1

// A quiz's own resources, added to a copy of the player for each quiz.
#define IDR_QUIZ_TEXT 104
#define IDR_QUIZ_CODES 105
#define IDR_QUESTION_MEDIA_BASE 400
#define IDR_REWARD_PICTURE_BASE 10400
