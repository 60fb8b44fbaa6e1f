#!/usr/bin/python3
"""The project's KV71 dictionaries: object classes, attributes with their value
descriptions, and hydrographic sources.

Run it to write data/dict/KV71OBJ.DIC, KV71ATTR.DIC, KV71ATTR.DES,
HOSOURCE.DIC, the presentation look-up tables OBJLUT.DIC and ATTRLUT.DIC, and
the code tables of data/dict/README.md. The sample chart generator imports it
for the attribute formats.

Display priorities follow the painter's order of the chart drawing pass:
higher numbers are drawn later, on top.
"""
import os
import sys

# Display priority tiers, lowest drawn first.
COVER, DEPTH, DRYING, LAND = 1, 10, 11, 12
FILL, PATTERN, LIMIT, LINE, COAST = 20, 30, 35, 40, 42
SOUNDING, HAZARD, POINT, STRUCTURE, LIGHT, TEXT = 50, 55, 60, 65, 70, 80

# What draws a class, by family of drawing procedures.
F_POINT = "point symbol (glyph, word beside it)"
F_LINE = "line or area style"
F_FILL = "area fill or glyph pattern"
F_DEPTH = "depth area, contour or sounding"
F_HAZARD = "hazard with its least depth"
F_BUOY = "buoy (coded buoy symbol)"
F_BEACON = "beacon (coded beacon symbol)"
F_AGGR = "aggregate: draws its structure and members"
F_GENERIC = "generic mark (glyph at point or centre, dashed line)"
F_LIGHT = "light (flare, range circle or sectors)"
F_ORIENT = "oriented symbol or bearing line"
F_SYMCODE = "chart symbol code"
F_TEXT = "text label"

# Attributes: code -> (acronym, format, minimum, maximum, name, {value: text}).
# Formats: aBYTE one byte; aWORD10 a 16-bit number (readers take tenths where
# the name says so); aFLOAT a 32-bit float; aSTRING text; aCMPLX three bytes
# and a text; aLIST a counted list of bytes.
ATTRIBUTES = {
    3: ("CATACH", "aLIST", 1, 10, "Category of anchorage",
        {1: "unrestricted", 2: "deep water", 3: "tanker", 4: "explosives", 5: "quarantine",
         6: "sea-plane", 7: "small craft", 8: "small craft mooring", 9: "24 hour",
         10: "limited period"}),
    6: ("CATCBL", "aBYTE", 1, 10, "Category of cable",
        {1: "power line", 2: "telephone or telegraph", 3: "transmission line", 4: "telephone",
         5: "telegraph", 6: "mooring cable or chain"}),
    7: ("CATCAM", "aBYTE", 1, 4, "Category of cardinal mark",
        {1: "north cardinal", 2: "east cardinal", 3: "south cardinal", 4: "west cardinal"}),
    9: ("CATCTR", "aBYTE", 1, 10, "Category of control point",
        {1: "triangulation point", 2: "observation spot", 3: "fixed point", 4: "bench-mark"}),
    10: ("CATCRN", "aBYTE", 1, 10, "Category of crane",
         {1: "crane without construction", 2: "container crane", 3: "sheerlegs"}),
    16: ("CATCON", "aBYTE", 1, 10, "Category of construction",
         {1: "weir", 2: "dam", 3: "caisson", 4: "lock gate", 5: "dyke gate", 6: "sluice"}),
    19: ("CATHCN", "aBYTE", 1, 10, "Category of harbour construction",
         {1: "breakwater", 2: "groyne (submerged part)", 3: "mole", 4: "pier", 5: "wharf"}),
    22: ("CATINB", "aBYTE", 1, 2, "Category of installation buoy",
         {1: "catenary anchor leg mooring (CALM)", 2: "single buoy mooring (SPM)"}),
    24: ("CATLAM", "aBYTE", 1, 4, "Category of lateral mark",
         {1: "port-hand", 2: "starboard-hand", 3: "preferred channel to starboard",
          4: "preferred channel to port"}),
    27: ("CATMST", "aBYTE", 1, 5, "Category of mast",
         {1: "mast", 2: "flagstaff", 3: "radar mast", 4: "radio mast"}),
    28: ("CATOFF", "aLIST", 1, 10, "Category of offshore installation",
         {1: "oil derrick", 2: "production platform", 3: "observation platform",
          4: "articulated loading column (ALC)", 5: "single anchor leg mooring (SALM)",
          6: "mooring tower", 7: "artificial island"}),
    29: ("CATMOR", "aBYTE", 1, 7, "Category of mooring facility",
         {1: "dolphin", 2: "deviation dolphin", 3: "bollard", 4: "tie-up wall", 5: "post or pile"}),
    32: ("CATOLB", "aBYTE", 1, 2, "Category of oil barrier",
         {1: "oil retention (high pressure pipe)", 2: "floating oil barrier"}),
    36: ("CATPRA", "aBYTE", 1, 10, "Category of production area",
         {1: "quarry", 2: "mine", 3: "well", 4: "production well"}),
    37: ("CATRTB", "aBYTE", 1, 2, "Category of radar transponder beacon",
         {1: "ramark", 2: "racon"}),
    39: ("CATROS", "aBYTE", 1, 10, "Category of radio station",
         {1: "circular radio beacon (RC)", 2: "directional radio beacon (RD)",
          3: "rotating-pattern radio beacon (RW)", 4: "Consol beacon", 5: "radio direction-finding station (RG)",
          6: "coast radio station (R)", 7: "aeronautical radio beacon"}),
    40: ("CATTRK", "aBYTE", 1, 2, "Category of recommended track",
         {1: "based on a system of fixed marks", 2: "not based on fixed marks"}),
    41: ("CATBUA", "aBYTE", 1, 10, "Category of built-up area",
         {4: "urban area", 5: "settlement", 6: "village", 7: "town", 8: "city", 9: "holiday village"}),
    42: ("CATRSC", "aLIST", 1, 10, "Category of rescue station",
         {1: "lifeboat", 2: "rocket", 4: "refuge for shipwrecked mariners", 6: "lifeboat on a mooring"}),
    43: ("RESTRN", "aLIST", 1, 30, "Restriction",
         {1: "anchoring prohibited", 2: "anchoring restricted", 3: "fishing restricted"}),
    44: ("CATROD", "aBYTE", 0, 60, "Category of road",
         {1: "motorway", 2: "major road", 3: "minor road", 4: "track or path", 5: "major street",
          6: "minor street", 51: "main road, red", 52: "main road, black", 53: "road, white",
          54: "road, red and yellow", 55: "path, white"}),
    48: ("CATSIW", "aLIST", 1, 20, "Category of signal station, warning",
         {1: "danger", 2: "maritime obstruction", 3: "cable", 4: "military practice", 5: "distress",
          6: "weather", 7: "storm", 8: "ice", 9: "time", 10: "tide gauge", 11: "tidal stream",
          12: "tide scale", 13: "diving"}),
    49: ("FUNCTN", "aLIST", 1, 40, "Function of building",
         {2: "harbour-master's office", 3: "custom office", 4: "health office", 5: "hospital",
          6: "post office"}),
    50: ("CATSCF", "aLIST", 1, 30, "Category of small craft facility",
         {1: "visitor's berth", 2: "nautical club", 6: "public inn", 7: "restaurant", 12: "water tap",
          13: "fuel station", 14: "electricity", 17: "launderette", 18: "public toilets",
          19: "post box", 20: "public telephone", 21: "refuse bin", 22: "car park",
          23: "parking for boats and trailers", 24: "caravan site", 25: "camping site"}),
    51: ("CATSPM", "aBYTE", 1, 30, "Category of special purpose mark",
         {1: "firing danger area mark", 2: "target mark", 3: "marker ship mark", 5: "barge mark",
          9: "ODAS", 13: "private mark", 14: "mooring mark", 15: "LANBY", 16: "leading mark",
          18: "measured distance mark", 19: "notice mark"}),
    52: ("CATRAS", "aBYTE", 1, 5, "Category of radar station",
         {1: "radar surveillance station", 2: "coast radar station", 3: "radar tower",
          5: "radar transponder station"}),
    54: ("CATWAT", "aBYTE", 1, 10, "Category of water turbulence",
         {1: "breakers", 2: "eddies", 3: "overfalls", 4: "tide rips", 5: "bombora", 6: "whirlpool",
          7: "race"}),
    55: ("CATVEG", "aLIST", 1, 30, "Category of vegetation",
         {1: "grass", 4: "deciduous wood", 5: "coniferous wood", 6: "wood in general",
          7: "mangroves", 11: "reeds"}),
    56: ("CATPRO", "aBYTE", 1, 10, "Category of protected area",
         {1: "nature reserve", 2: "national park", 4: "other protected area"}),
    57: ("CATWRK", "aBYTE", 1, 5, "Category of wreck",
         {1: "non-dangerous wreck", 2: "dangerous wreck", 3: "distributed remains of wreck",
          4: "wreck showing mast or masts", 5: "wreck showing any portion of hull"}),
    58: ("LITCHR", "aBYTE", 1, 30, "Light characteristic",
         {1: "fixed", 2: "flashing", 3: "long-flashing", 4: "quick-flashing", 5: "very quick-flashing",
          7: "isophased", 8: "occulting", 25: "Morse", 26: "Morse, long"}),
    59: ("COLOUR", "aLIST", 1, 13, "Colour",
         {1: "white", 2: "black", 3: "red", 4: "green", 5: "blue", 6: "yellow", 7: "grey",
          8: "brown", 9: "amber", 10: "violet", 11: "orange", 12: "magenta"}),
    60: ("MRKCOL", "aBYTE", 1, 17, "Colouring of a buoy or beacon",
         {1: "green", 2: "black", 3: "red", 4: "yellow", 5: "white", 6: "orange",
          7: "yellow over black", 8: "black, yellow, black", 9: "black over yellow",
          10: "yellow, black, yellow", 11: "red and white", 12: "green, red, green",
          13: "red, green, red", 14: "black, red, black", 15: "yellow, red, yellow",
          16: "red over green", 17: "green over red"}),
    61: ("COLPAT", "aBYTE", 1, 2, "Colour pattern",
         {1: "horizontal bands", 2: "vertical stripes"}),
    62: ("DESIGN", "aSTRING", None, None, "Designation", {}),
    63: ("CATDOC", "aBYTE", 0, 10, "Category of dock", {1: "tidal", 2: "non-tidal (wet dock)"}),
    66: ("DRVAL1", "aFLOAT", -20, 12000, "Depth range value 1, metres", {}),
    67: ("DRVAL2", "aFLOAT", -20, 12000, "Depth range value 2, metres", {}),
    69: ("QUASOU", "aBYTE", 0, 20, "Quality of sounding",
         {1: "depth known", 2: "least depth known (disc and ring)", 3: "depth unknown"}),
    72: ("SIGGRP", "aSTRING", None, None, "Signal group", {}),
    73: ("ELEVAT", "aFLOAT", -500, 9000, "Elevation, metres", {}),
    78: ("INFORM", "aSTRING", None, None, "Information", {}),
    80: ("LABTXT", "aSTRING", None, None, "Label text", {}),
    82: ("NATSUR", "aLIST", 1, 90, "Nature of surface",
         {1: "mud", 2: "clay", 3: "silt", 4: "sand", 5: "stone", 6: "gravel", 7: "pebbles",
          8: "cobbles", 9: "rock", 11: "lava", 14: "coral", 17: "shells"}),
    84: ("MARSYS", "aBYTE", 0, 10, "Marks' buoyage region",
         {1: "IALA A", 2: "IALA B", 9: "no system"}),
    85: ("ORIENT", "aFLOAT", 0, 360, "Orientation, degrees", {}),
    86: ("SIGPER", "aWORD10", 0, 6000, "Signal period, tenths of a second", {}),
    87: ("OBJNAM", "aSTRING", None, None, "Object name", {}),
    90: ("NATQUA", "aLIST", 1, 10, "Nature of surface, qualifying terms",
         {1: "fine", 2: "medium", 3: "coarse", 4: "broken", 5: "sticky", 6: "soft", 7: "stiff",
          8: "volcanic", 9: "calcareous", 10: "hard"}),
    91: ("QUAPOS", "aBYTE", 1, 11, "Quality of position",
         {1: "surveyed", 2: "unsurveyed", 3: "inadequately surveyed", 4: "approximated",
          5: "position doubtful", 8: "estimated"}),
    92: ("TECSOU", "aBYTE", 0, 20, "Exposition of sounding",
         {3: "ring", 5: "disc and ring", 7: "swept (bar below)", 9: "disc and ring"}),
    100: ("SECTR1", "aWORD10", 0, 3600, "Sector limit one, tenths of a degree", {}),
    101: ("SECTR2", "aWORD10", 0, 3600, "Sector limit two, tenths of a degree", {}),
    103: ("BCNSHP", "aBYTE", 1, 7, "Beacon shape",
          {1: "stake, pole, perch, post", 2: "withy", 3: "beacon tower", 4: "lattice beacon",
           5: "pile beacon", 6: "cairn", 7: "buoyant beacon"}),
    105: ("BOYSHP", "aBYTE", 1, 10, "Buoy shape",
          {1: "conical (nun)", 2: "can (cylindrical)", 3: "spherical", 4: "pillar", 5: "spar",
           6: "barrel", 7: "super-buoy", 8: "ice buoy"}),
    106: ("TOPSHP", "aBYTE", 1, 33, "Topmark shape",
          {1: "cone, point up", 2: "cone, point down", 3: "sphere", 4: "two spheres",
           5: "cylinder (can)", 6: "board", 7: "x-shape", 8: "upright cross",
           9: "cube, point up", 10: "two cones, point to point", 11: "two cones, base to base",
           12: "rhombus", 13: "two cones, points upward", 14: "two cones, points downward"}),
    109: ("STATUS", "aLIST", 1, 20, "Status",
          {1: "permanent", 2: "occasional", 3: "recommended", 4: "not in use", 5: "periodic"}),
    111: ("SOUQAL", "aSTRING", None, None, "Sounding qualifier text (second byte 6: bracket under the value)", {}),
    112: ("TRAFIC", "aBYTE", 1, 4, "Traffic flow",
          {1: "inbound", 2: "outbound", 3: "one-way", 4: "two-way"}),
    113: ("VALDCO", "aFLOAT", 0, 12000, "Value of depth contour, metres", {}),
    115: ("VALNMR", "aWORD10", 0, 65535, "Value of nominal range, tenths of a nautical mile", {}),
    116: ("VALSOU", "aWORD10", 0, 65535, "Value of sounding, decimetres", {}),
    124: ("WATLEV", "aBYTE", 1, 7, "Water level effect",
          {1: "partly submerged at high water", 2: "always dry", 3: "always under water",
           4: "covers and uncovers", 5: "awash", 6: "subject to inundation", 7: "floating"}),
    129: ("SYMCOD", "aSTRING", None, None, "Chart symbol code", {}),
    130: ("SYMORI", "aFLOAT", 0, 360, "Symbol orientation, degrees", {}),
    133: ("TXTSTR", "aSTRING", None, None, "Text string", {}),
    134: ("JUSTHZ", "aBYTE", 0, 3, "Horizontal justification (0 left)",
          {1: "centred", 3: "right"}),
    135: ("JUSTVT", "aBYTE", 0, 3, "Vertical justification (0 baseline)",
          {1: "above", 2: "centred"}),
    138: ("LINSTY", "aBYTE", 0, 10, "Line style",
          {1: "solid", 2: "dashed", 3: "styled with marks", 4: "styled with glyphs", 5: "dotted"}),
    139: ("NAMSTY", "aCMPLX", None, None,
          "Styled name: flags, x and y offset in ten-thousandths of a chart metre, text", {}),
    142: ("TXTCOL", "aBYTE", 0, 15, "Text colour", {}),
    147: ("CATCOA", "aBYTE", 1, 10, "Category of coastline",
          {1: "steep coast", 2: "flat coast", 3: "sandy shore", 4: "stony shore", 5: "shingly shore",
           9: "rocky coast (marked)"}),
    181: ("MRKKND", "aBYTE", 0, 10, "Kind of place-name marker (0 dot)",
          {1: "town", 2: "village", 3: "settlement", 4: "harbour", 5: "anchorage"}),
}

A = lambda *names: list(names)  # attribute codes of a class

# Object classes: code -> (acronym, primitives, priority, class name, attribute
# codes, family).
OBJECTS = {
    1: ("ADMARE", "PA", LIMIT, "Administration area", A(87), F_POINT),
    2: ("AIRARE", "PA", POINT, "Airport or airfield", A(87), F_POINT),
    3: ("ACHBRT", "PA", LIMIT, "Anchor berth", A(87), F_POINT),
    4: ("ACHARE", "PA", LIMIT, "Anchorage area", A(3, 87), F_POINT),
    5: ("BCNCAR", "P", POINT, "Beacon, cardinal", A(103, 60, 61, 7, 87), F_BEACON),
    6: ("BCNISD", "P", POINT, "Beacon, isolated danger", A(103, 60, 61, 87), F_BEACON),
    7: ("BCNLAT", "P", POINT, "Beacon, lateral", A(103, 60, 61, 24, 84, 87), F_BEACON),
    8: ("BCNSAW", "P", POINT, "Beacon, safe water", A(103, 60, 61, 87), F_BEACON),
    9: ("BCNSPP", "P", POINT, "Beacon, special purpose", A(103, 60, 61, 51, 87), F_BEACON),
    10: ("BERTHS", "PLA", LIMIT, "Berth", A(80, 87), F_POINT),
    11: ("BRIDGE", "PLA", FILL, "Bridge", A(87), F_POINT),
    12: ("BUAARE", "PA", FILL, "Built-up area", A(41, 87), F_POINT),
    13: ("BUISGL", "PA", FILL, "Building, single", A(49, 87), F_POINT),
    14: ("BUNSTA", "PA", PATTERN, "Bunker station", A(87), F_POINT),
    15: ("BOYCAR", "P", POINT, "Buoy, cardinal", A(105, 60, 61, 7, 87), F_BUOY),
    16: ("BOYINB", "P", POINT, "Buoy, installation", A(22, 60, 87), F_BUOY),
    17: ("BOYISD", "P", POINT, "Buoy, isolated danger", A(105, 60, 61, 87), F_BUOY),
    18: ("BOYLAT", "P", POINT, "Buoy, lateral", A(105, 60, 61, 24, 84, 87), F_BUOY),
    19: ("BOYSAW", "P", POINT, "Buoy, safe water", A(105, 60, 61, 87), F_BUOY),
    20: ("BOYSPP", "P", POINT, "Buoy, special purpose", A(105, 60, 61, 51, 87), F_BUOY),
    21: ("CBLARE", "LA", LIMIT, "Cable area limit", A(87), F_LINE),
    22: ("CBLOHD", "L", LINE, "Cable, overhead", A(6, 109, 87), F_LINE),
    23: ("CBLSUB", "L", LINE, "Cable, submarine", A(6, 109, 87), F_LINE),
    24: ("CHKPNT", "PA", POINT, "Checkpoint", A(87), F_POINT),
    25: ("CANALS", "LA", DEPTH, "Canal", A(87), F_LINE),
    26: ("CANBNK", "L", LINE, "Canal bank", A(87), F_LINE),
    27: ("CTSARE", "PA", LIMIT, "Cargo transhipment area", A(87), F_POINT),
    28: ("CAUSWY", "LA", FILL, "Causeway", A(87), F_LINE),
    29: ("CTNARE", "PA", LIMIT, "Caution area", A(78, 87), F_POINT),
    30: ("CEMTRY", "PA", PATTERN, "Cemetery", A(87), F_LINE),
    31: ("CHNWIR", "L", LINE, "Chain or wire", A(87), F_LINE),
    32: ("COLARE", "PA", POINT, "Collision regulations area", A(87), F_POINT),
    33: ("CHIMNY", "PA", POINT, "Chimney", A(87), F_POINT),
    34: ("CGUSTA", "P", POINT, "Coast guard station", A(87), F_POINT),
    35: ("COALNE", "L", COAST, "Coastline", A(147, 91, 87), F_LINE),
    36: ("CONZNE", "LA", LIMIT, "Contiguous zone limit", A(87), F_LINE),
    37: ("COSARE", "PLA", POINT, "Continental shelf area", A(87), F_GENERIC),
    38: ("CTRPNT", "P", POINT, "Control point", A(9, 87), F_POINT),
    39: ("CRANES", "PA", POINT, "Crane", A(10, 87), F_POINT),
    40: ("CUSZNE", "LA", LIMIT, "Custom zone limit", A(87), F_LINE),
    41: ("CONVYR", "L", LINE, "Conveyor", A(87), F_LINE),
    42: ("DWRTPT", "LA", PATTERN, "Deep water route part", A(87), F_LINE),
    43: ("DWRTCL", "L", LINE, "Deep water route centreline", A(112, 87), F_LINE),
    44: ("DEPARE", "A", DEPTH, "Depth area", A(66, 67), F_DEPTH),
    45: ("DEPCNT", "L", LINE, "Depth contour", A(113, 91), F_DEPTH),
    46: ("DIFFUS", "PA", HAZARD, "Diffuser", A(116, 69, 92, 111, 124, 87), F_DEPTH),
    47: ("DISMAR", "P", POINT, "Distance mark", A(87), F_POINT),
    48: ("CTNNOT", "P", POINT, "Caution note", A(78), F_POINT),
    49: ("DOCARE", "LA", PATTERN, "Dock area", A(63, 87), F_LINE),
    50: ("DRGARE", "A", DEPTH, "Dredged area", A(66, 67, 87), F_DEPTH),
    51: ("DRYDOC", "LA", FILL, "Dry dock", A(87), F_LINE),
    52: ("DMPGRD", "PA", LIMIT, "Dumping ground", A(87), F_POINT),
    53: ("DUNARE", "PA", POINT, "Sand dunes", A(87), F_POINT),
    54: ("DYKCON", "L", LINE, "Dyke", A(87), F_LINE),
    55: ("EMBKMT", "L", LINE, "Embankment", A(87), F_LINE),
    56: ("EXEZNE", "LA", LIMIT, "Exclusive economic zone limit", A(87), F_LINE),
    57: ("FAIRWY", "LA", LIMIT, "Fairway", A(87), F_LINE),
    58: ("FNCLNE", "L", LINE, "Fence or wall", A(87), F_LINE),
    59: ("FERYRT", "LA", LINE, "Ferry route", A(87), F_LINE),
    60: ("FSHFAC", "PA", FILL, "Fishing facility", A(87), F_POINT),
    61: ("FSHZNE", "LA", LIMIT, "Fishery zone limit", A(87), F_LINE),
    62: ("DAMCON", "PLA", LINE, "Dam", A(16, 87), F_POINT),
    63: ("FSHGRD", "LA", LIMIT, "Fishing ground limit", A(87), F_LINE),
    64: ("FOGSIG", "P", POINT, "Fog signal", A(87), F_POINT),
    65: ("FORSTC", "PA", POINT, "Fortified structure", A(87), F_POINT),
    66: ("FLODOC", "LA", FILL, "Floating dock", A(87), F_LINE),
    67: ("DAYMAR", "P", POINT, "Daymark", A(87), F_POINT),
    68: ("GATCON", "PLA", LINE, "Gate", A(16, 87), F_POINT),
    69: ("GRIDRN", "PLA", POINT, "Gridiron", A(87), F_GENERIC),
    70: ("HRBCON", "LA", FILL, "Harbour construction", A(19, 87), F_LINE),
    71: ("HULKES", "A", PATTERN, "Hulk", A(87), F_LINE),
    72: ("HRBARE", "LA", LIMIT, "Harbour area limit", A(87), F_LINE),
    73: ("HRBFAC", "PA", POINT, "Harbour facility", A(109, 87), F_POINT),
    74: ("HRBBSN", "PLA", POINT, "Harbour basin", A(87), F_GENERIC),
    75: ("ISLETS", "PA", FILL, "Islet", A(87), F_POINT),
    76: ("ICEARE", "A", FILL, "Ice area", A(87), F_LINE),
    77: ("ICNARE", "PA", LIMIT, "Incineration area", A(87), F_POINT),
    78: ("DRYARE", "PA", DRYING, "Drying area", A(82, 87), F_LINE),
    79: ("LAKARE", "A", DEPTH, "Lake", A(87), F_LINE),
    80: ("LAKSHR", "L", COAST, "Lake shore", A(91), F_LINE),
    81: ("LNDARE", "PA", LAND, "Land area", A(87), F_POINT),
    82: ("LNDELV", "PL", LINE, "Land elevation", A(73, 87), F_DEPTH),
    83: ("LNDRGN", "A", PATTERN, "Land region", A(82, 87), F_LINE),
    84: ("LNDBND", "L", LINE, "Land boundary", A(87), F_LINE),
    85: ("GLACIR", "A", PATTERN, "Glacier or snow field", A(87), F_LINE),
    86: ("LIGHTS", "P", LIGHT, "Light",
         A(59, 58, 72, 86, 100, 101, 115, 85, 87), F_LIGHT),
    87: ("LITDIR", "P", LIGHT, "Directional light mark", A(59, 85, 87), F_LINE),
    88: ("LITFLT", "P", POINT, "Light float", A(60, 61, 87), F_BEACON),
    89: ("LITVES", "P", POINT, "Light vessel", A(60, 61, 87), F_BEACON),
    90: ("LOKBSN", "L", LINE, "Lock basin", A(87), F_LINE),
    91: ("MIPARE", "PA", LIMIT, "Military practice area", A(87), F_POINT),
    92: ("MARCUL", "PA", LIMIT, "Marine farm or culture", A(87), F_POINT),
    93: ("MSTPNT", "P", POINT, "Mast", A(27, 87), F_POINT),
    94: ("OFSARE", "PA", LIMIT, "Offshore installation area", A(28, 87), F_POINT),
    95: ("MORBOY", "P", POINT, "Mooring buoy", A(87), F_POINT),
    96: ("MORFAC", "PA", POINT, "Mooring facility", A(29, 87), F_POINT),
    97: ("NAVLNE", "L", LINE, "Navigation line", A(87), F_LINE),
    98: ("LEDLNE", "L", LINE, "Leading line with bearing", A(85, 87), F_LINE),
    99: ("OBSTRN", "PA", HAZARD, "Obstruction", A(116, 69, 92, 111, 124, 87), F_DEPTH),
    100: ("OFSPLF", "PA", POINT, "Offshore platform", A(28, 87), F_POINT),
    101: ("OSPLIM", "L", LIMIT, "Offshore production area limit", A(87), F_LINE),
    102: ("OILBAR", "L", LINE, "Oil barrier", A(32, 87), F_LINE),
    103: ("PILPNT", "P", POINT, "Pile", A(87), F_POINT),
    104: ("PILBOP", "P", POINT, "Pilot boarding place", A(87), F_POINT),
    105: ("PINGOS", "PA", HAZARD, "Pingo", A(116, 69, 92, 111, 124, 87), F_HAZARD),
    106: ("PIPOHD", "L", LINE, "Pipeline, overhead", A(87), F_LINE),
    107: ("PIPSOL", "L", LINE, "Pipeline, submarine or on land", A(109, 87), F_LINE),
    108: ("PIPARE", "LA", LIMIT, "Pipeline area limit", A(87), F_LINE),
    109: ("PONTON", "LA", FILL, "Pontoon", A(87), F_FILL),
    110: ("PRCARE", "PLA", LIMIT, "Precautionary area", A(87), F_POINT),
    111: ("PRDARE", "PA", HAZARD, "Production or storage area",
          A(36, 116, 69, 92, 111, 87), F_HAZARD),
    112: ("PYLONS", "P", POINT, "Pylon", A(87), F_POINT),
    113: ("RADDOM", "PA", POINT, "Radome", A(87), F_POINT),
    114: ("RADLNE", "L", LINE, "Radar line", A(87), F_LINE),
    115: ("RADRNG", "A", PATTERN, "Radar range", A(87), F_FILL),
    116: ("RADRFL", "P", POINT, "Radar reflector", A(87), F_POINT),
    117: ("RADMRK", "P", POINT, "Radar conspicuous mark", A(37, 87), F_POINT),
    118: ("RTPBCN", "P", POINT, "Radar transponder beacon", A(37, 87), F_POINT),
    119: ("RDOCAL", "P", POINT, "Radio calling-in point", A(62, 85, 112, 87), F_ORIENT),
    120: ("RDOSTA", "P", POINT, "Radio station", A(39, 87), F_POINT),
    121: ("RAILWY", "L", LINE, "Railway", A(87), F_LINE),
    122: ("RAPIDS", "L", LINE, "Rapids", A(87), F_LINE),
    123: ("RCKARE", "A", LIMIT, "Rocky area limit", A(87), F_LINE),
    124: ("RCRTCL", "L", LINE, "Recommended route centreline", A(87), F_LINE),
    125: ("RECTRC", "L", LINE, "Recommended track", A(40, 85, 112, 87), F_ORIENT),
    126: ("RCTLPT", "PA", POINT, "Recommended traffic lane part", A(85, 87), F_ORIENT),
    127: ("RSCSTA", "P", POINT, "Rescue station", A(42, 87), F_POINT),
    128: ("RESARE", "PLA", LIMIT, "Restricted area", A(43, 78, 87), F_LINE),
    129: ("RIVERS", "LA", DEPTH, "River", A(87), F_DEPTH),
    130: ("RIVBNK", "L", LINE, "River bank", A(87), F_LINE),
    131: ("RUNWAY", "LA", PATTERN, "Runway", A(87), F_FILL),
    132: ("ROADWY", "LA", LINE, "Road", A(44, 87), F_LINE),
    133: ("SEAARE", "A", LIMIT, "Sea area, named", A(80, 87), F_POINT),
    134: ("SNDWAV", "PLA", POINT, "Sand waves", A(87), F_GENERIC),
    135: ("SPLARE", "PA", LIMIT, "Sea-plane landing area", A(87), F_POINT),
    136: ("SBDZON", "PLA", FILL, "Seabed zone (not drawn)", A(82, 87), F_LINE),
    137: ("TSSARE", "PA", LIMIT, "Traffic service area", A(87), F_POINT),
    138: ("SBDARE", "PA", TEXT, "Seabed area", A(90, 82, 59, 78), F_TEXT),
    139: ("SLCONS", "LA", FILL, "Shoreline construction", A(124, 87), F_FILL),
    140: ("SISTAT", "P", POINT, "Signal station, traffic", A(87), F_POINT),
    141: ("SISTAW", "P", POINT, "Signal station, warning", A(48, 87), F_POINT),
    142: ("SILTNK", "PA", POINT, "Silo or tank", A(87), F_POINT),
    143: ("SLOTOP", "L", LINE, "Slope topline", A(87), F_LINE),
    144: ("SLOLNE", "L", LINE, "Sloping ground, line", A(87), F_LINE),
    145: ("SLOGRD", "A", LIMIT, "Sloping ground", A(87), F_LINE),
    146: ("SMCFAC", "PA", POINT, "Small craft facility", A(50, 87), F_POINT),
    147: ("SOUNDG", "PS", SOUNDING, "Sounding", A(116, 69, 92, 111), F_DEPTH),
    148: ("SPCARE", "PA", LIMIT, "Special area", A(87), F_POINT),
    149: ("SPRING", "P", POINT, "Spring", A(87), F_POINT),
    150: ("SQUARE", "PLA", POINT, "Square", A(87), F_GENERIC),
    151: ("STSLNE", "L", LINE, "Straight territorial sea baseline", A(87), F_LINE),
    152: ("SUBTLN", "PA", LIMIT, "Submarine transit lane", A(87), F_POINT),
    153: ("SWPARE", "PA", PATTERN, "Swept area", A(87), F_FILL),
    154: ("TESARE", "L", LINE, "Territorial sea limit", A(87), F_LINE),
    155: ("TSLINE", "L", LINE, "Traffic line", A(87), F_LINE),
    156: ("TS_PRH", "PLA", POINT, "Tidal stream, harmonic prediction", A(87), F_GENERIC),
    157: ("TOPMAR", "P", POINT, "Topmark", A(106), F_POINT),
    158: ("RADSTA", "PA", POINT, "Radar station", A(52, 87), F_POINT),
    159: ("TSELNE", "L", LINE, "Traffic separation line", A(87), F_LINE),
    160: ("TSSBND", "L", LINE, "Traffic separation scheme boundary", A(87), F_LINE),
    161: ("TSSCRS", "PLA", POINT, "Traffic separation scheme crossing", A(87), F_GENERIC),
    162: ("TSSLPT", "PA", POINT, "Traffic separation scheme lane part", A(85, 87), F_ORIENT),
    163: ("TSEZNE", "A", PATTERN, "Traffic separation zone", A(87), F_FILL),
    164: ("TSSRON", "A", PATTERN, "Traffic separation scheme roundabout", A(87), F_FILL),
    165: ("WATTUR", "P", POINT, "Water turbulence", A(54, 87), F_POINT),
    166: ("UNSARE", "PLA", POINT, "Unsurveyed area", A(87), F_GENERIC),
    167: ("TWRTPT", "LA", LINE, "Two-way route part", A(85, 87), F_ORIENT),
    168: ("UWTROC", "P", HAZARD, "Underwater or awash rock", A(124, 116, 69, 92, 111, 87), F_DEPTH),
    169: ("VEGATN", "A", PATTERN, "Vegetation", A(55, 87), F_FILL),
    170: ("RIPLNE", "L", LINE, "Tide rips, line", A(87), F_LINE),
    171: ("PROARE", "PLA", PATTERN, "Protected area", A(56, 87), F_FILL),
    172: ("QUARAN", "PA", PATTERN, "Quarantine area", A(87), F_FILL),
    173: ("WATFAL", "L", LINE, "Waterfall", A(87), F_LINE),
    174: ("WEDKLP", "PA", LIMIT, "Weed or kelp", A(87), F_POINT),
    175: ("WELLHD", "P", POINT, "Wellhead", A(87), F_POINT),
    176: ("WRECKS", "PA", HAZARD, "Wreck", A(57, 124, 116, 69, 92, 111, 87), F_HAZARD),
    177: ("DRYLNE", "L", LINE, "Drying line (zero-metre contour)", A(91), F_LINE),
    185: ("C_BUOY", "C", STRUCTURE, "Buoy with its light and topmark", A(87), F_AGGR),
    187: ("C_BCON", "C", STRUCTURE, "Beacon with its light and topmark", A(87), F_AGGR),
    188: ("C_STRU", "C", STRUCTURE, "Other lit structure with its members", A(87), F_AGGR),
    191: ("COMPAS", "P", POINT, "Compass rose", A(87), F_ORIENT),
    192: ("SYMPNT", "P", POINT, "Chart symbol, point", A(129, 130, 85), F_SYMCODE),
    193: ("SYMLIN", "L", LINE, "Chart symbol, line", A(129), F_SYMCODE),
    194: ("SYMARE", "A", PATTERN, "Chart symbol, area", A(129), F_SYMCODE),
    196: ("$TEXTS", "P", TEXT, "Free text", A(133, 142, 134, 135), F_TEXT),
    197: ("$LINES", "L", LINE, "Styled line", A(138), F_LINE),
    198: ("$NAMES", "P", TEXT, "Place name", A(139, 181), F_TEXT),
    199: ("$CSYMB", "P", POINT, "Cartographic symbol", A(87), F_POINT),
    200: ("BOYGEN", "P", POINT, "Buoy, general", A(105, 60, 61, 87), F_BUOY),
    201: ("PILPST", "P", POINT, "Post or pile", A(87), F_POINT),
    202: ("BNDLNE", "L", LINE, "Boundary line", A(87), F_LINE),
    203: ("BCNGEN", "P", POINT, "Beacon, general", A(103, 60, 61, 87), F_BEACON),
    205: ("LOCMAG", "PA", POINT, "Local magnetic anomaly", A(87), F_FILL),
    212: ("INFARE", "LA", LIMIT, "Information area", A(78, 87), F_FILL),
    217: ("M_COVR", "A", COVER, "Coverage of chart data", A(84), F_LINE),
    218: ("NODATA", "LA", FILL, "Area without survey data", A(87), F_FILL),
    221: ("PRHARE", "A", PATTERN, "Prohibited area", A(87), F_FILL),
}

# Presentation of attributes (ATTRLUT.DIC). Every attribute is shown (mask bit
# 0) except the presentation's own internals below. Those listed in BRIEF are
# also shown in the brief print (mask bit 1), under the display name given.
# FORMATS are the print formats of numbers, each one conversion of a floating
# value (tenths are printed as the scaled value); enumerations, lists and
# texts print their own way.
HIDDEN = {134, 135, 139, 142, 181}  # justifications, packed name, text colour, marker kind
BRIEF = {
    58: "Character", 59: "Colour", 62: "Designation", 66: "Depth from", 67: "Depth to",
    72: "Group", 73: "Elevation", 86: "Period", 87: "Name", 113: "Contour", 115: "Range",
    116: "Depth",
}
DEGREE = "%.1f\u00b0"
FORMATS = {
    66: "%.1f m", 67: "%.1f m", 73: "%.1f m", 85: DEGREE, 86: "%.1f s", 100: DEGREE,
    101: DEGREE, 113: "%.1f m", 115: "%.1f M", 116: "%.1f m", 130: DEGREE,
}

# Hydrographic sources: code -> (first field, SORIND code, authority).
SOURCES = {
    1: ("SAMPLE", "NO,NO,synth,KV71", "Synthetic sample data of this project (not for navigation)"),
    2: ("GSHHG", "NO,NO,gshhg,2.3.7", "GSHHG shoreline database, version 2.3.7 (LGPL)"),
}


def attribute_format(code):
    return ATTRIBUTES[code][1]


def check():
    """The tables must be what the loaders accept."""
    seen = set()
    for code, (acr, fmt, lo, hi, name, values) in ATTRIBUTES.items():
        assert len(acr) == 6 and acr not in seen, acr
        seen.add(acr)
        assert fmt in ("aBYTE", "aWORD10", "aLONG", "aFLOAT", "aSTRING", "aCMPLX", "aLIST"), fmt
        assert (lo is None) == (fmt in ("aSTRING", "aCMPLX")), acr
        assert 0 not in values, acr  # text 0 is the attribute's own name
    seen = set()
    for code, (acr, prims, prio, name, attrs, family) in OBJECTS.items():
        assert 0 < code < 256 and len(acr) == 6 and acr not in seen, acr
        seen.add(acr)
        assert prims and set(prims) <= set("PLASC") and 0 <= prio <= 255, acr
        assert all(a in ATTRIBUTES for a in attrs), acr
        assert "|" not in name, acr
    assert HIDDEN.isdisjoint(BRIEF) and set(BRIEF) <= set(ATTRIBUTES)
    for code, fmt in FORMATS.items():
        assert ATTRIBUTES[code][1] in ("aWORD10", "aFLOAT"), code
        assert fmt.count("%") == 1 and "|" not in fmt and ")" not in fmt, code


def number(v):
    return "%g" % v


def write(dir):
    check()
    obj = ["* KV71 object classes: acronym|code|primitives|display priority|class name|attributes"]
    for code in sorted(OBJECTS):
        acr, prims, prio, name, attrs, _ = OBJECTS[code]
        obj.append("|".join([acr, str(code), prims, str(prio), name] +
                            [ATTRIBUTES[a][0] for a in attrs]))
    att = ["* KV71 attributes: acronym|code|format|minimum|maximum"]
    des = ["; Names of the KV71 attributes (0=) and of their enumerated values"]
    for code in sorted(ATTRIBUTES):
        acr, fmt, lo, hi, name, values = ATTRIBUTES[code]
        fields = [acr, str(code), fmt] + ([] if lo is None else [number(lo), number(hi)])
        att.append("|".join(fields))
        des.append("[%s]" % acr)
        des.append("N=%d" % (max([0] + list(values)) + 1))
        des.append("0=%s" % name)
        for v in sorted(values):
            des.append("%d=%s" % (v, values[v]))
    hos = ["* Hydrographic sources: source|code|SORIND|authority"]
    for code in sorted(SOURCES):
        first, sorind, authority = SOURCES[code]
        hos.append("|".join([first, str(code), sorind, authority]))
    # Every class is drawn and listed in every look-up: masks 1 and 1 pass
    # the drawing, information and chart-data formulas alike.
    objlut = ["; Object look-up: acronym|code|information pages|display flags"]
    for code in sorted(OBJECTS):
        objlut.append("%s|%d|1|1" % (OBJECTS[code][0], code))
    attrlut = ["; Attribute look-up: acronym|code|mask|(print format)|display name"]
    for code in sorted(ATTRIBUTES):
        acr = ATTRIBUTES[code][0]
        mask = "0" if code in HIDDEN else "11" if code in BRIEF else "1"
        fields = [acr, str(code), mask]
        if code in FORMATS or code in BRIEF:
            fields.append("(%s)" % FORMATS[code] if code in FORMATS else "")
        if code in BRIEF:
            fields.append(BRIEF[code])
        attrlut.append("|".join(fields))
    for name, lines in (("KV71OBJ.DIC", obj), ("KV71ATTR.DIC", att), ("KV71ATTR.DES", des),
                        ("HOSOURCE.DIC", hos), ("OBJLUT.DIC", objlut), ("ATTRLUT.DIC", attrlut)):
        with open(os.path.join(dir, name), "w", encoding="cp1252", newline="\n") as f:
            f.write("\n".join(lines) + "\n")


def readme_tables():
    out = ["| code | acronym | primitives | priority | class | drawn as |", "|---|---|---|---|---|---|"]
    for code in sorted(OBJECTS):
        acr, prims, prio, name, attrs, family = OBJECTS[code]
        out.append("| %d | %s | %s | %d | %s | %s |" % (code, acr.replace("$", "\\$"), prims, prio,
                                                     name, family))
    out += ["", "| code | acronym | format | range | meaning |", "|---|---|---|---|---|"]
    for code in sorted(ATTRIBUTES):
        acr, fmt, lo, hi, name, values = ATTRIBUTES[code]
        rng = "" if lo is None else "%s..%s" % (number(lo), number(hi))
        out.append("| %d | %s | %s | %s | %s |" % (code, acr, fmt, rng, name))
    return "\n".join(out) + "\n"


if __name__ == "__main__":
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    dir = os.path.normpath(os.path.join(root, "data", "dict"))
    os.makedirs(dir, exist_ok=True)
    write(dir)
    if len(sys.argv) > 1 and sys.argv[1] == "--tables":
        sys.stdout.write(readme_tables())
