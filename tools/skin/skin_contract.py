#!/usr/bin/python3
"""What the client requires of its skin, as skin_check.py checks it: the layouts, the
control names each must hold with the classes that can do their job, the attributes
the framework knows per class, and the images the client names itself."""

WINDOW_LAYOUTS = ["Main.xml", "MsgDlg.xml", "ConfigDlg.xml", "AboutDlg.xml", "SkinSetDlg.xml",
                  "FloatToolWindow.xml", "Menu_Tray.xml"]
# sub-layouts and the window whose fonts they use
SUB_LAYOUTS = {"OneTvInfo.xml": "Main.xml", "OneTvSource.xml": "Main.xml",
               "TvHistory.xml": "Main.xml", "Troviking.xml": "Main.xml",
               "NoSearchResult.xml": "Main.xml"}

BUILTIN = {"Control", "Label", "Text", "Button", "Option", "CheckBox", "Edit", "Progress",
           "Container", "VerticalLayout", "HorizontalLayout", "TabLayout", "AnimationTabLayout",
           "List", "ListContainerElement"}
CUSTOM = {"Menu", "MenuElement", "SkinPictureItem"}
CONTAINERS = {"Container", "VerticalLayout", "HorizontalLayout", "TabLayout", "AnimationTabLayout",
              "List", "ListContainerElement", "Menu", "MenuElement"}
BUTTONS = {"Button", "Option", "CheckBox", "SkinPictureItem"}
TEXTUAL = {"Label", "Text"} | BUTTONS | {"Edit"}

COMMON_ATTRS = {"name", "text", "tooltip", "userdata", "pos", "float", "width", "height",
                "minwidth", "minheight", "maxwidth", "maxheight", "padding", "visible", "enabled",
                "mouse", "bkcolor", "bkimage", "bordercolor", "focusbordercolor", "bordersize",
                "bottombordersize", "borderround"}
TEXT_ATTRS = {"font", "textcolor", "hottextcolor", "pushedtextcolor", "disabledtextcolor",
              "selectedtextcolor", "align", "valign", "textpadding", "showhtml", "endellipsis"}
STATE_IMAGES = {"normalimage", "hotimage", "pushedimage", "focusedimage", "disabledimage",
                "foreimage"}
LIST_ATTRS = {"itemtextcolor", "itemhottextcolor", "itemhotbkcolor", "itemselectedbkcolor",
              "itemfont", "itemtextpadding"}
MENU_ITEM_ATTRS = {"icon", "iconsize", "checkitem", "ischeck", "type", "expland", "linecolor"}
IMAGE_ATTRS = {"bkimage", "normalimage", "hotimage", "pushedimage", "focusedimage",
               "disabledimage", "selectedimage", "selectedhotimage", "foreimage", "icon"}
COLOUR_ATTRS = {"bkcolor", "bordercolor", "focusbordercolor", "textcolor", "hottextcolor",
                "pushedtextcolor", "disabledtextcolor", "selectedtextcolor", "itemtextcolor",
                "itemhottextcolor", "itemhotbkcolor", "itemselectedbkcolor", "linecolor"}


def allowed_attributes(cls):
    allowed = set(COMMON_ATTRS)
    if cls in TEXTUAL:
        allowed |= TEXT_ATTRS
    if cls in BUTTONS or cls in ("Edit", "Progress"):
        allowed |= STATE_IMAGES
    if cls in ("Option", "CheckBox"):
        allowed |= {"selectedimage", "selectedhotimage", "selected"}
    if cls == "Option":
        allowed.add("group")
    if cls == "Edit":
        allowed |= {"maxchar", "readonly", "password"}
    if cls == "Progress":
        allowed |= {"min", "max", "value"}
    if cls in CONTAINERS:
        allowed |= {"inset", "childpadding"}
    if cls in ("TabLayout", "AnimationTabLayout"):
        allowed.add("selectedid")
    if cls in ("List", "Menu"):
        allowed |= LIST_ATTRS
    if cls == "MenuElement":
        allowed |= MENU_ITEM_ATTRS
    if cls == "SkinPictureItem":
        allowed.add("bkname")
    return allowed


# ---------------------------------------------------------------- what the client looks up

def names(prefix, count):
    return [f"{prefix}{i}" for i in range(count)]


# layout -> {control name: allowed classes}
REQUIRED = {
    "Main.xml": {
        "background": CONTAINERS,
        "edtSearchText": {"Edit"}, "btnSearch": {"Button"},
        "btnSetSkin": {"Button"}, "btnAppSet": {"Button"}, "closebtn": {"Button"},
        "BtnQuit": {"Button"},
        "hlTopHotTvLst1": {"HorizontalLayout"}, "hlTopHotTvLst2": {"HorizontalLayout"},
        "btnScrollTv": {"Button"},
        "vlTvHistory": {"VerticalLayout"}, "vlSearching": {"VerticalLayout"},
        "vlNoFindResult": {"VerticalLayout"}, "vlSearchResult": {"VerticalLayout"},
        "vlSelectResult": {"VerticalLayout"},
        "hlSearchResult": {"HorizontalLayout"}, "tlSearchResult": {"AnimationTabLayout"},
        "ctWaitingPic": {"Control", "Container"}, "ctNoFindResult": CONTAINERS,
        **{n: {"Button"} for n in names("btnHot", 5) + names("btnLinkSite", 7)
           + names("btnHistory", 6)},
    },
    "OneTvInfo.xml": {
        "ctTvPic": {"Control"}, "TvName": {"Label"}, "TvPingFen": {"Label"},
        "txtYanYuan": {"Label", "Text"}, "txtDaoYan": {"Label", "Text"},
        "txtLeiXing": {"Label", "Text"}, "txtJiShu": {"Label", "Text"},
        "lblQuality": {"Label"}, "lblNianFen": {"Label"}, "txtDescript": {"Text"},
        "btnDetails": {"Button"}, "ctTvSource": CONTAINERS, "ctTvBlock": CONTAINERS,
    },
    "OneTvSource.xml": {"btnSource": {"Option"}},
    "TvHistory.xml": {n: {"Button"} for n in names("btnHistory", 6)},
    "Troviking.xml": {"ctWaitingPic": {"Control", "Container"}},
    "NoSearchResult.xml": {"ctNoFindResult": CONTAINERS},
    "MsgDlg.xml": {"background": CONTAINERS, "btnOk": {"Button"}, "btnCancel": {"Button"},
                   "closebtn": {"Button"}},
    "ConfigDlg.xml": {"background": CONTAINERS, "chkAutoStart": {"CheckBox"},
                      "chkMinShowInBar": {"CheckBox"}, "chkQuitOnClose": {"CheckBox"},
                      "chkShowFloatingWindow": {"CheckBox"}, "btnOk": {"Button"},
                      "btnCancel": {"Button"}, "closebtn": {"Button"}},
    "AboutDlg.xml": {"background": CONTAINERS, "txtAppVersion": {"Label", "Text"},
                     "btnOk": {"Button"}, "btnAppWebSite": {"Button"}, "closebtn": {"Button"}},
    "SkinSetDlg.xml": {"background": CONTAINERS, "proDown": {"Progress"},
                       "closebtn": {"Button"}},
    "FloatToolWindow.xml": {"background": CONTAINERS},
    "Menu_Tray.xml": {n: {"MenuElement"} for n in ("Menu_ShowHideMain", "Menu_ShowHideFloat",
                                                   "Menu_Settings", "Menu_CheckUpdate",
                                                   "Menu_About", "Menu_Close")},
}
REQUIRED_IMAGES = [f"Searching{i}.png" for i in range(5)] + ["SelectNormal.png", "SelectHot.png"]
