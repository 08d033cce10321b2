#include "vst3/ModuleInfo.h"

#include "vst3/Vst3Text.h"

#include <cstring>

namespace {
constexpr int UidTextBytes = 33;

std::string Quoted(const char* text) {
  std::string quoted = "\"";
  for (const char* c = text; *c; ++c) {
    if (*c == '"' || *c == '\\') {
      quoted += '\\';
    }
    quoted += *c;
  }
  return quoted + "\"";
}

std::string Boolean(bool value) {
  return value ? "true" : "false";
}

// "Fx|Distortion" as ["Fx", "Distortion"].
std::string SubCategories(const char* joined) {
  std::string list = "[";
  std::string part;
  for (const char* c = joined;; ++c) {
    if (*c == '|' || *c == '\0') {
      if (!part.empty()) {
        list += (list.size() > 1 ? ", " : "") + Quoted(part.c_str());
      }
      part.clear();
      if (*c == '\0') {
        break;
      }
    } else {
      part += *c;
    }
  }
  return list + "]";
}
} // namespace

std::string DescribeModule(vst3::IPluginFactory* factory, const char* moduleName,
                           const char* moduleVersion) {
  vst3::PFactoryInfo info{};
  factory->getFactoryInfo(&info);
  void* second = nullptr;
  factory->queryInterface(vst3::IPluginFactory2_iid.Tuid(), &second);
  auto* factory2 = static_cast<vst3::IPluginFactory2*>(second);

  std::string json = "{\n";
  json += "  \"Name\": " + Quoted(moduleName) + ",\n";
  json += "  \"Version\": " + Quoted(moduleVersion) + ",\n";
  json += "  \"Factory Info\": {\n";
  json += "    \"Vendor\": " + Quoted(info.vendor) + ",\n";
  json += "    \"URL\": " + Quoted(info.url) + ",\n";
  json += "    \"E-Mail\": " + Quoted(info.email) + ",\n";
  json += "    \"Flags\": {\n";
  json += "      \"Unicode\": " + Boolean(info.flags & vst3::PFactoryInfo::kUnicode) + ",\n";
  json += "      \"Classes Discardable\": " +
          Boolean(info.flags & vst3::PFactoryInfo::kClassesDiscardable) + ",\n";
  json += "      \"Component Non Discardable\": " +
          Boolean(info.flags & vst3::PFactoryInfo::kComponentNonDiscardable) + "\n";
  json += "    }\n  },\n";
  json += "  \"Classes\": [\n";
  const vst3::int32 count = factory->countClasses();
  for (vst3::int32 i = 0; factory2 && i < count; ++i) {
    vst3::PClassInfo2 entry{};
    if (factory2->getClassInfo2(i, &entry) != vst3::kResultOk) {
      continue;
    }
    char cid[UidTextBytes];
    vst3::TextFromUid(entry.cid, cid);
    json += "    {\n";
    json += "      \"CID\": " + Quoted(cid) + ",\n";
    json += "      \"Category\": " + Quoted(entry.category) + ",\n";
    json += "      \"Name\": " + Quoted(entry.name) + ",\n";
    json += "      \"Vendor\": " + Quoted(entry.vendor) + ",\n";
    json += "      \"Version\": " + Quoted(entry.version) + ",\n";
    json += "      \"SDKVersion\": " + Quoted(entry.sdkVersion) + ",\n";
    json += "      \"Sub Categories\": " + SubCategories(entry.subCategories) + ",\n";
    json += "      \"Class Flags\": " + std::to_string(entry.classFlags) + ",\n";
    json += "      \"Cardinality\": " + std::to_string(entry.cardinality) + ",\n";
    json += "      \"Snapshots\": []\n";
    json += std::string("    }") + (i + 1 < count ? "," : "") + "\n";
  }
  json += "  ]\n}\n";
  if (factory2) {
    factory2->release();
  }
  return json;
}
