#include "media/media_player.h"

#include "resources/resource_ids.h"

HICON playIcon = nullptr;
HICON stopIcon = nullptr;

// Clips are not played yet: the board's buttons exist and call here, and nothing sounds.

void startMedia() {}

void createMediaPlayer(HWND) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    playIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PLAY));
    stopIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_STOP));
}

void playClip(HWND, int) {}

void stopClip(int) {}

void shutdownMedia(HWND) {}
