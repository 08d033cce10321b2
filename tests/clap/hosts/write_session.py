"""write_session.py SESSION CLAP AMOUNT: a qtractor session with one audio track that monitors
the Master bus input through Ombrix CLAP at this amount (the track's layout is the one qtractor
0.9.31 writes when a user builds it)."""
import sys
from xml.sax.saxutils import escape

path, plugin, amount = sys.argv[1], sys.argv[2], float(sys.argv[3])
directory = path.rsplit("/", 1)[0]
session = f"""<!DOCTYPE qtractorSession>
<session version="Qtractor 0.9.31" name="clap-hosts">
 <properties>
  <directory>{escape(directory)}</directory>
  <sample-rate>48000</sample-rate>
  <tempo>120</tempo>
  <ticks-per-beat>960</ticks-per-beat>
  <beats-per-bar>4</beats-per-bar>
  <beat-divisor>2</beat-divisor>
 </properties>
 <devices>
  <audio-engine>
   <audio-bus mode="duplex" name="Master">
    <monitor>0</monitor>
    <channels>2</channels>
    <auto-connect>0</auto-connect>
   </audio-bus>
  </audio-engine>
 </devices>
 <tracks>
  <track type="audio" name="Ombrix">
   <properties>
    <input-bus>Master</input-bus>
    <output-bus>Master</output-bus>
   </properties>
   <state>
    <mute>0</mute>
    <solo>0</solo>
    <record>0</record>
    <monitor>1</monitor>
    <gain>1</gain>
    <panning>0</panning>
   </state>
   <clips/>
   <plugins>
    <plugin type="CLAP">
     <filename>{escape(plugin)}</filename>
     <index>0</index>
     <label>Ombrix</label>
     <preset></preset>
     <direct-access-param>-1</direct-access-param>
     <activated>1</activated>
     <params>
      <param index="0" name="Amount of Distortion">{amount:g}</param>
      <param index="1" name="#KELBA Enabled">1</param>
      <param index="2" name="#KELBA">0</param>
      <param index="3" name="Bypass">0</param>
     </params>
    </plugin>
   </plugins>
  </track>
 </tracks>
</session>
"""
with open(path, "w") as out:
    out.write(session)
