-- ardour7-lua ardour_session.lua FOLDER NAME [FORMAT ID AMOUNT]
-- With FORMAT (LV2 or VST3), ID (the LV2 plug-in URI, or the VST 3 processor class id) and
-- AMOUNT: makes a session in FOLDER with one stereo track "Dist" carrying that plug-in (Ombrix)
-- at that amount. Without: loads the session saved there. Either way the track monitors the dummy
-- backend's DC input (+0.5), one second of the session is exported to FOLDER/export/NAME.wav,
-- and the session is saved.
local folder, name, format, id, amount = arg[1], arg[2], arg[3], arg[4], tonumber(arg[5])
local backend = AudioEngine:set_backend("None (Dummy)", "", "")
backend:set_device_name("DC -6dBFS (+.5)")

local session
if amount then
  session = create_session(folder, "ombrix", 48000)
  assert(session, "no session made")
  local tracks = session:new_audio_track(2, 2, nil, 1, "Dist", ARDOUR.PresentationInfo.max_order,
                                         ARDOUR.TrackMode.Normal, true)
  local plugin = ARDOUR.LuaAPI.new_plugin(session, id, ARDOUR.PluginType[format], "")
  assert(not plugin:isnil(), "Ombrix not found among Ardour's " .. format .. " plug-ins")
  assert(tracks:front():add_processor_by_index(plugin, 0, nil, true) == 0, "plug-in not added")
  ARDOUR.LuaAPI.set_processor_param(plugin, 0, amount)
else
  session = load_session(folder, "ombrix")
  assert(session, "no session loaded")
end

local route = session:route_by_name("Dist")
local track = route:to_track()
track:input():audio(0):connect("system:capture_1")
track:input():audio(1):connect("system:capture_2")
track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput,
                                     PBD.GroupControlDisposition.NoGroup)
print("amount", (ARDOUR.LuaAPI.get_processor_param(route:nth_plugin(0), 0)))

local export = session:simple_export()
export:set_folder(folder .. "/export")
export:set_name(name)
export:set_range(0, 48000)
-- Ardour's "WAV @ session-rate" preset.
assert(export:set_preset("75969a1c-3133-4694-864b-a1fa50e43348"), "no WAV preset")
assert(export:check_outputs(), "no outputs to export")
assert(export:run_export(), "export failed")
session:save_state("", false, false, false, false, false)
close_session()
