// The Windows Media Player control's interfaces that the player calls, declared from their
// published identifiers and method order. They live in a namespace of their own so that they
// can never clash with a system header's declarations of the same interfaces.
//
// A COM interface is a table of function pointers: what matters is that every method stands
// in its slot, in the published order, with the calling convention of COM. Methods the player
// does not call keep their slots with untyped pointer arguments where the type would need
// more declarations.
//
// Slots used (counting IUnknown's three and IDispatch's four first):
//   IWMPPlayer (through IWMPCore): 7 close, 8 get_URL (tests only), 9 put_URL,
//   12 get_controls, 34 put_uiMode.
//   IWMPControls: 8 play, 9 stop, 13 get_currentPosition (tests only).
#pragma once

#include <oaidl.h>
#include <windows.h>

namespace wmp {

// CLSID_WindowsMediaPlayer
inline constexpr CLSID kClsidWindowsMediaPlayer = {
    0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
// IID_IWMPPlayer
inline constexpr IID kIidPlayer = {
    0x6BF52A4F, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};

// Slots 7 to 22 after IDispatch.
struct IWMPControls : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_isAvailable(BSTR item, VARIANT_BOOL* available) = 0;
    virtual HRESULT STDMETHODCALLTYPE play() = 0; // slot 8
    virtual HRESULT STDMETHODCALLTYPE stop() = 0; // slot 9
    virtual HRESULT STDMETHODCALLTYPE pause() = 0;
    virtual HRESULT STDMETHODCALLTYPE fastForward() = 0;
    virtual HRESULT STDMETHODCALLTYPE fastReverse() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentPosition(double* seconds) = 0; // slot 13
    virtual HRESULT STDMETHODCALLTYPE put_currentPosition(double position) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentPositionString(BSTR* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE next() = 0;
    virtual HRESULT STDMETHODCALLTYPE previous() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentItem(void** media) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentItem(void* media) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentMarker(long* marker) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentMarker(long marker) = 0;
    virtual HRESULT STDMETHODCALLTYPE playItem(void* media) = 0;
};

// Slots 7 to 27 after IDispatch.
struct IWMPCore : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE close() = 0;                               // slot 7
    virtual HRESULT STDMETHODCALLTYPE get_URL(BSTR* url) = 0;                    // slot 8
    virtual HRESULT STDMETHODCALLTYPE put_URL(BSTR url) = 0;                     // slot 9
    virtual HRESULT STDMETHODCALLTYPE get_openState(long* state) = 0;            // WMPOpenState
    virtual HRESULT STDMETHODCALLTYPE get_playState(long* state) = 0;            // WMPPlayState
    virtual HRESULT STDMETHODCALLTYPE get_controls(IWMPControls** controls) = 0; // slot 12
    virtual HRESULT STDMETHODCALLTYPE get_settings(void** settings) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentMedia(void** media) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentMedia(void* media) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_mediaCollection(void** collection) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_playlistCollection(void** collection) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_versionInfo(BSTR* version) = 0;
    virtual HRESULT STDMETHODCALLTYPE launchURL(BSTR url) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_network(void** network) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentPlaylist(void** playlist) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentPlaylist(void* playlist) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_cdromCollection(void** collection) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_closedCaption(void** caption) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_isOnline(VARIANT_BOOL* online) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_error(void** error) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_status(BSTR* status) = 0;
};

// Slots 28 to 35, after IWMPCore's.
struct IWMPPlayer : public IWMPCore {
    virtual HRESULT STDMETHODCALLTYPE get_enabled(VARIANT_BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_enabled(VARIANT_BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_fullScreen(VARIANT_BOOL* fullScreen) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_fullScreen(VARIANT_BOOL fullScreen) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_enableContextMenu(VARIANT_BOOL* enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_enableContextMenu(VARIANT_BOOL enabled) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_uiMode(BSTR mode) = 0; // slot 34
    virtual HRESULT STDMETHODCALLTYPE get_uiMode(BSTR* mode) = 0;
};

} // namespace wmp
