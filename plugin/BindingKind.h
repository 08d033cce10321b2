#pragma once

#include <cstdint>

// Which binding hosts the plug-in. The editor asks what the binding's host offers through the
// capability queries below, never by comparing kinds.
enum class BindingKind : int32_t {
  Vst2 = 0,
  // A host with its own parameter context menus and window frame (none of the bindings here).
  HostWithParameterMenus = 1,
  Lv2 = 2,
  // A host that sizes the editor's window frame itself (none of the bindings here).
  HostSizedFrame = 3,
  Vst3 = 4,
  Clap = 5,
};

// A right click on a control bound to a parameter opens the host's menu for it.
constexpr bool OffersParameterMenus(BindingKind kind) {
  return kind == BindingKind::HostWithParameterMenus;
}

// The host, not the editor, resizes the frame around the editor's window.
constexpr bool HostResizesFrame(BindingKind kind) {
  return kind == BindingKind::HostWithParameterMenus || kind == BindingKind::HostSizedFrame;
}

// The format has a bypass parameter of its own, which the plug-in carries out
// (IAudioPlugin::SetBypass).
constexpr bool OffersBypass(BindingKind kind) {
  return kind == BindingKind::Vst3 || kind == BindingKind::Clap;
}
