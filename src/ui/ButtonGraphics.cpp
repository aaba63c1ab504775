// ButtonGraphics.cpp - the picture of each remote-control button image.
#include "app/keys.h"
#include "ui/Text.h"
#include "ui/graphics/Graphics.h"

namespace {

// In the order of ButtonImage.
const TYPE_GrData* const kButtons[BUTTON_COUNT] = {
    &_Button_0_Gd,         &_Button_1_Gd,        &_Button_2_Gd,        &_Button_3_Gd,
    &_Button_4_Gd,         &_Button_5_Gd,        &_Button_6_Gd,        &_Button_7_Gd,
    &_Button_8_Gd,         &_Button_9_Gd,        &_Button_recall_Gd,   &_Button_mute_Gd,
    &_Button_left_Gd,      &_Button_right_Gd,    &_Button_up_Gd,       &_Button_down_Gd,
    &_Button_sleep_Gd,     &_Button_audio_Gd,    &_Button_info_Gd,     &_Button_guide_Gd,
    &_Button_exit_Gd,      &_Button_tv_radio_Gd, &_Button_pause_Gd,    &_Button_menu_Gd,
    &_Button_ok_Gd,        &_Button_fav_Gd,      &_Button_subtitle_Gd, &_Button_green_Gd,
    &_Button_yellow_Gd,    &_Button_blue_Gd,     &_Button_red_Gd,      &_Button_white_Gd,
    &_Button_ttx_Gd,       &_Button_rwd_Gd,      &_Button_play_Gd,     &_Button_ffwd_Gd,
    &_Button_step_Gd,      &_Button_stop_Gd,     &_Button_record_Gd,   &_Button_sat_Gd,
    &_Button_jumpstart_Gd, &_Button_filelist_Gd, &_Button_jumpend_Gd,  &_Button_option_Gd,
    &_Button_m_Gd,         &_Button_blank_Gd,    &_Button_up_T_Gd,     &_Button_down_T_Gd,
    &_Button_audio_T_Gd,   &_Button_blank_T_Gd,
};

}  // namespace

const TYPE_GrData* ButtonGraphic(int image) {
  if (image < 0 || image >= BUTTON_COUNT) return &_Button_blank_T_Gd;
  return kButtons[image];
}
