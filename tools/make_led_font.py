# Makes the panel's LED face: the free seven-segment face DSEG7 (SIL Open Font License),
# condensed to 60 % width so five digits fit the 46-pixel readouts, and renamed as that
# licence asks of a modified copy.
#   fontforge -lang=py -script make_led_font.py SOURCE.ttf OUTPUT.ttf
import sys
import fontforge
import psMat

source, output = sys.argv[1], sys.argv[2]
font = fontforge.open(source)
font.selection.all()
font.transform(psMat.scale(0.6, 1.0))
font.fontname = "QuindaraPanelLED"
font.familyname = "Quindara Panel LED"
font.fullname = "Quindara Panel LED"
font.copyright = (font.copyright or "") + \
    " Condensed for the Quindara panel; licensed under the SIL Open Font License 1.1."
font.sfnt_names = tuple(n for n in font.sfnt_names if n[1] not in
                        ("Family", "SubFamily", "Fullname", "PostScriptName", "UniqueID",
                         "Preferred Family", "Preferred Styles", "WWS Family"))
# Installable embedding, as the licence allows; the game only ever renders with it.
font.os2_fstype = 0
font.generate(output)
