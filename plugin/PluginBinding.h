#pragma once

#include "plugin/AudioPlugin.h"

#include <type_traits>

// What a binding provides, checked where an effect is built on it (the contract itself is
// described above IAudioPlugin): it is a plug-in base, names the host its constructor takes, and
// takes that host first, then the shape the base is made from.
template <class Binding, class = void> struct IsPluginBindingCheck : std::false_type {};
template <class Binding>
struct IsPluginBindingCheck<Binding, std::void_t<typename Binding::Host>>
    : std::bool_constant<std::is_base_of_v<IAudioPlugin, Binding> &&
                         std::has_virtual_destructor_v<Binding> &&
                         std::is_constructible_v<Binding, typename Binding::Host, int, const char*,
                                                 int, const char*, const char*, const char*,
                                                 int32_t, int32_t, int, bool, bool>> {};

template <class Binding> constexpr bool IsPluginBinding = IsPluginBindingCheck<Binding>::value;
