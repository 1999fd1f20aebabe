#pragma once
// The profile data object: how a device object reads, caches and writes the settings object of
// its active profile ("Device"[device index] of the profile file).
//
// Getters read from the cached settings object, setters change only the cache; nothing reaches
// the file until Save. A member that is missing, null or of another JSON type reads as zero (or
// empty); a setter writes only its own members and leaves the rest of the object as it is.
// Every object of a device kind with keys, DPI stages or audio settings is one of the subclasses.

#include <json/json.h>

#include <QString>

#include <array>
#include <vector>

#include "config/light_files.h"
#include "config/profile_records.h"

namespace zrv::config {

// The three lighting objects of a settings object.
enum class LightSection { kMain, kLogo, kStrip };

class CBasicProfiledata {
 public:
  CBasicProfiledata() = default;
  virtual ~CBasicProfiledata() = default;
  CBasicProfiledata(const CBasicProfiledata&) = delete;
  CBasicProfiledata& operator=(const CBasicProfiledata&) = delete;

  // SaveDeviceSection with the cached settings object and the profile path.
  virtual bool Save();
  // Reads the document at `path`, sets its "Device"[device index] to `settings` and writes it
  // back; every other member of the file stays. False when the file could not be written.
  virtual bool SaveDeviceSection(const Json::Value& settings, const QString& path);
  // Writes `document` to `path` in the JSON layout of the system.
  virtual bool WriteDocument(const Json::Value& document, const QString& path);

  // An empty path leaves the old one.
  void SetProfilePath(const QString& path);
  const QString& GetProfilePath() const { return profile_path_; }
  void SetTemplatePath(const QString& path);
  const QString& GetTemplatePath() const { return template_path_; }
  void SetLightConfigPath(const QString& path) { light_config_path_ = path; }
  const QString& GetLightConfigPath() const { return light_config_path_; }
  // The element of "Device" that belongs to the device (every device uses 0). Indices outside
  // 0 … kMaxDeviceIndex are ignored.
  void SetDeviceIndex(int index);
  int GetDeviceIndex() const { return device_index_; }
  static constexpr int kMaxDeviceIndex = 255;

  // Loads the cached settings object from the profile at `path` and returns a copy of it. A
  // profile without one (missing or broken file, no "Device", an element that is not an object)
  // takes the template's and is written back with it, keeping its other members; the outcome of
  // that write is LastWriteFailed(). Without a usable template the cache stays null.
  Json::Value LoadDeviceSection(const QString& path);
  const Json::Value& GetSettings() const { return settings_; }

  // Reads the light configuration document (null when missing), keeps it and returns a copy.
  Json::Value LoadLightConfig(const QString& path);
  const Json::Value& GetLightConfig() const { return light_config_; }
  // The steps of the custom effect that the cached main record's effect names (light_files.h), the
  // ".light" file taken from `folder`; kept as the object's step list, which a copy is returned of.
  std::vector<EffectStep> ReadCustomEffectSteps(int display_index, const QString& folder);
  const std::vector<EffectStep>& EffectSteps() const { return effect_steps_; }
  // Effect numbers below this count are the kind's own animations; custom effect i is number
  // count + i.
  void SetBuiltInEffectCount(int count) { built_in_effects_ = count; }
  int BuiltInEffectCount() const { return built_in_effects_; }

  // Light state records: reading fills only the fields of that object (the rest 0) and keeps the
  // record in the object's cache slot; writing replaces the member with exactly its fields.
  LightStateRecord ReadLightInfo() { return ReadLight(LightSection::kMain); }
  LightStateRecord ReadLogoLightInfo() { return ReadLight(LightSection::kLogo); }
  LightStateRecord ReadStLightInfo() { return ReadLight(LightSection::kStrip); }
  void WriteLightInfo(const LightStateRecord& record) { WriteLight(LightSection::kMain, record); }
  void WriteLogoLightInfo(const LightStateRecord& record) { WriteLight(LightSection::kLogo, record); }
  void WriteStLightInfo(const LightStateRecord& record) { WriteLight(LightSection::kStrip, record); }
  LightStateRecord ReadLight(LightSection section);
  void WriteLight(LightSection section, const LightStateRecord& record);
  // The last record read or written for a section.
  const LightStateRecord& CachedLight(LightSection section) const;

  // "LightList": rebuilt when the settings object has one, otherwise the previous list stays.
  const std::vector<LedRecord>& GetLedList();
  // "KeyList": rebuilt from the settings object (empty without one).
  const std::vector<KeyRecord>& GetKeyList();
  // Sets "Assignment" of element i from record i; "DefaultAssignment" is never written.
  void SetKeyAssignments(const std::vector<KeyRecord>& keys);

  // Whether the most recent file write of this object (Save, SaveDeviceSection, WriteDocument or
  // the repair in LoadDeviceSection) failed.
  bool LastWriteFailed() const { return last_write_failed_; }

 protected:
  // The cached settings object, made an object if it is not one, for the setters.
  Json::Value& SettingsForWrite();
  // A member of the cached settings object for the setters.
  Json::Value& SectionForWrite(const char* name) { return SettingsForWrite()[name]; }
  // A member of the cached settings object for the getters (null when missing).
  const Json::Value& Section(const char* name) const;

 private:
  QString profile_path_;
  QString template_path_;
  QString light_config_path_;
  int device_index_ = 0;
  Json::Value settings_;
  std::array<LightStateRecord, 3> light_cache_{};
  std::vector<LedRecord> led_list_;
  std::vector<KeyRecord> key_list_;
  Json::Value light_config_;
  std::vector<EffectStep> effect_steps_;
  int built_in_effects_ = 0;
  bool last_write_failed_ = false;
};

}  // namespace zrv::config
