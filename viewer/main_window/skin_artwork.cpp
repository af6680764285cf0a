#include "viewer/main_window/skin_artwork.h"

#include "viewer/main_window/main_dialog_ids.h"

namespace {

const ButtonArtwork kButtons[] = {
    {IDC_CHANNEL1, 224, 223, 221, 220, 220, 0},
    {IDC_CHANNEL2, 224, 226, 227, 228, 228, 0},
    {IDC_CHANNEL3, 224, 230, 231, 232, 232, 0},
    {IDC_CHANNEL4, 224, 234, 235, 236, 236, 0},
    {IDC_SEARCH, 239, 237, 238, 237, 237, 0},
    {IDC_ALARM, 239, 241, 240, 240, 240, 0},
    {IDC_ON, 246, 242, 243, 242, 242, 0},
    {IDC_OFF, 246, 244, 245, 244, 244, 0},
    {IDC_STYLE1, 247, 248, 249, 249, 249, 0},
    {IDC_STYLE2, 247, 250, 251, 251, 251, 0},
    {IDC_STYLE3, 247, 252, 253, 253, 253, 0},
    {IDC_VOLUME_OFF, 257, 258, 259, 259, 259, 0},
    {IDC_VOLUME_ON, 257, 259, 258, 258, 258, 0},
    {IDC_LOCKED, 254, 256, 255, 255, 255, 0},
    {IDC_UNLOCK, 254, 255, 256, 256, 256, 0},
    {IDC_HELP, 266, 265, 264, 265, 265, 0},
    {IDC_MINIMISE, 266, 263, 262, 263, 263, 0},
    {IDC_CLOSE, 266, 261, 260, 261, 261, 0},
    {IDC_CHANNEL_SETTING, 267, 274, 275, 274, 274, 299},
    {IDC_SYSTEM, 267, 268, 269, 268, 268, 300},
    {IDC_RECORDER, 267, 270, 271, 270, 270, 0},
    {IDC_PROPERTY, 267, 272, 273, 272, 272, 0},
    {IDC_SECURITY, 267, 276, 277, 276, 276, 0},
    {IDC_SHOW_STAMP, 278, 279, 280, 279, 279, 0},
    {IDC_TIMER_SNAP, 278, 281, 282, 281, 281, 0},
    {IDC_SNAPSHOT, 278, 283, 284, 283, 283, 0},
    {IDC_SAVE_IMAGE, 267, 285, 286, 285, 285, 0},
};
static_assert(std::size(kButtons) == 27);

}  // namespace

std::span<const ButtonArtwork> ButtonArtworkTable() {
    return kButtons;
}
