// The main window's controls that the logic talks to, by the names of the
// window's description (src/ui), which uses these same constants.
#pragma once

#include "desktop/toolkit.h"

inline constexpr ControlName 主窗口 = "主窗口";
inline constexpr ControlName 列表框前 = "列表框前";
inline constexpr ControlName 列表框1 = "列表框1";
inline constexpr ControlName 编辑框速度 = "编辑框速度";
inline constexpr ControlName 编辑框等待 = "编辑框等待";
inline constexpr ControlName 标签热键 = "标签热键";
inline constexpr ControlName 状态条1 = "状态条1";

/// The numbers still to search.
inline constexpr ControlName PendingList = 列表框前;
/// The numbers the user kept.
inline constexpr ControlName FilteredList = 列表框1;
