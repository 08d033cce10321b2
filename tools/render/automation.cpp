#include "tools/render/Automation.h"

#include "tools/render/JsonReader.h"
#include "tools/render/MidiSchedule.h"
#include "tools/render/PluginSettings.h"
#include "tools/render/TextNumbers.h"
#include "tools/render/WholeFile.h"

#include <algorithm>

namespace {

std::string Quoted(const std::string& text) {
  return "\"" + text + "\"";
}

int FindParameter(HostedPlugin& plugin, const std::string& key) {
  long long index = 0;
  if (ParseWholeInteger(key, &index)) {
    return index >= 0 && index < plugin.ParameterCount() ? static_cast<int>(index) : -1;
  }
  for (int i = 0; i < plugin.ParameterCount(); ++i) {
    if (plugin.ParameterName(i) == key) {
      return i;
    }
  }
  return -1;
}

} // namespace

bool AutomationSchedule::Load(const std::string& path, HostedPlugin& plugin, int sampleRate,
                              int resolution, AutomationSchedule* schedule, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes, error)) {
    return false;
  }
  const std::string text(bytes.begin(), bytes.end());
  JsonValue root;
  std::string reason;
  if (!ReadJson(text, &root, &reason)) {
    *error = path + ": " + reason;
    return false;
  }
  const auto fail = [&](const JsonValue& where, const std::string& what) {
    *error = path + ": " + where.Place() + ": " + what;
    return false;
  };
  if (root.kind != JsonValue::Kind::Object) {
    return fail(root, "expected an object whose keys are parameter names");
  }
  schedule->resolution = resolution;
  for (const auto& [key, entry] : root.members) {
    Lane lane;
    lane.parameter = FindParameter(plugin, key);
    if (lane.parameter < 0) {
      return fail(entry, "unknown parameter " + Quoted(key) + " for " + plugin.Name());
    }
    const std::string name = Quoted(plugin.ParameterName(lane.parameter));
    for (const Lane& earlier : schedule->lanes) {
      if (earlier.parameter == lane.parameter) {
        return fail(entry, name + " is automated twice");
      }
    }
    if (entry.kind != JsonValue::Kind::Object) {
      return fail(entry, "the automation of " + name + " must be an object with \"points\"");
    }
    for (const auto& [field, value] : entry.members) {
      if (field != "points" && field != "curve" && field != "normalized") {
        return fail(value, "unknown field " + Quoted(field) +
                               " (expected points, curve and "
                               "normalized)");
      }
    }
    bool normalized = false;
    if (const JsonValue* flag = entry.Member("normalized")) {
      if (flag->kind != JsonValue::Kind::Bool) {
        return fail(*flag, "\"normalized\" must be true or false");
      }
      normalized = flag->boolean;
    }
    if (const JsonValue* curve = entry.Member("curve")) {
      if (curve->kind != JsonValue::Kind::String ||
          (curve->text != "step" && curve->text != "linear")) {
        return fail(*curve, "\"curve\" must be \"step\" or \"linear\"");
      }
      lane.linear = curve->text == "linear";
    } else {
      return fail(entry, name + " has no \"curve\" (\"step\" or \"linear\")");
    }
    const JsonValue* points = entry.Member("points");
    if (!points || points->kind != JsonValue::Kind::Array || points->items.empty()) {
      return fail(points ? *points : entry, name + " needs \"points\": a list of [seconds, value]");
    }
    double lastSeconds = 0.0;
    for (const JsonValue& point : points->items) {
      if (point.kind != JsonValue::Kind::Array || point.items.size() != 2) {
        return fail(point, "a point must be [seconds, value]");
      }
      const JsonValue& time = point.items[0];
      const JsonValue& value = point.items[1];
      if (time.kind != JsonValue::Kind::Number || time.number < 0.0) {
        return fail(time, "a point's time must be a number of seconds, 0 or later");
      }
      if (time.number < lastSeconds) {
        return fail(time, "points must be in time order (" + FormatPlain(time.number) +
                              " s comes after " + FormatPlain(lastSeconds) + " s)");
      }
      lastSeconds = time.number;
      if (value.kind != JsonValue::Kind::Number) {
        return fail(value, "the value of a point of " + name + " must be a number");
      }
      Point read;
      read.frame = FrameAt(time.number, sampleRate);
      if (normalized) {
        if (value.number < 0.0 || value.number > 1.0) {
          return fail(value, "normalised value " + FormatPlain(value.number) + " for " + name +
                                 " is out of range (0 to 1)");
        }
        read.normalized = value.number;
      } else {
        const std::string typed = FormatPlain(value.number);
        if (!plugin.TakesText(lane.parameter) ||
            !plugin.TextToNormalized(lane.parameter, typed, &read.normalized)) {
          return fail(value, name + " takes no values in its own units; give \"normalized\": "
                                    "true and values from 0 to 1");
        }
        std::string outside;
        if (!CheckInRange(plugin, lane.parameter, value.number, typed, &outside)) {
          return fail(value, outside);
        }
        read.normalized = std::clamp(read.normalized, 0.0, 1.0);
      }
      lane.points.push_back(read);
    }
    schedule->lanes.push_back(lane);
  }
  return true;
}

double AutomationSchedule::ValueAt(const Lane& lane, int64_t frame, int64_t* following) const {
  const std::vector<Point>& points = lane.points;
  // The first point after the frame.
  const auto after =
      std::upper_bound(points.begin(), points.end(), frame,
                       [](int64_t at, const Point& point) { return at < point.frame; });
  if (after == points.begin()) {
    *following = after->frame;
    return after->normalized;
  }
  const Point& before = *(after - 1);
  if (after == points.end()) {
    *following = -1;
    return before.normalized;
  }
  if (!lane.linear || after->frame == before.frame) {
    *following = after->frame;
    return before.normalized;
  }
  *following = std::min(frame + resolution, after->frame);
  const double position =
      static_cast<double>(frame - before.frame) / static_cast<double>(after->frame - before.frame);
  return before.normalized + position * (after->normalized - before.normalized);
}

void AutomationSchedule::EventsFor(int64_t start, int frames, std::vector<HostedEvent>* due) {
  const size_t first = due->size();
  for (Lane& lane : lanes) {
    while (lane.next >= 0 && lane.next < start + frames) {
      const int64_t at = std::max(lane.next, start);
      HostedEvent event;
      event.kind = HostedEventKind::Parameter;
      event.frame = static_cast<int>(at - start);
      event.parameter = lane.parameter;
      event.normalized = ValueAt(lane, at, &lane.next);
      due->push_back(event);
      ++sent;
    }
  }
  // Lanes interleave by frame; an insertion sort keeps equal frames in lane order, in place.
  for (size_t i = first + 1; i < due->size(); ++i) {
    for (size_t j = i; j > first && (*due)[j - 1].frame > (*due)[j].frame; --j) {
      std::swap((*due)[j - 1], (*due)[j]);
    }
  }
}
