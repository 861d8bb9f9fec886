#include "skin/data/skin_data_win.h"

namespace skin {

const std::vector<rt::WideString>& DefaultSkin3rd() {
  // Control classes of other libraries and the standard kind each is
  // painted as; three rows stand twice.
  static const std::vector<rt::WideString> rows = {
    u"TAdvPanelGroup=embedscrollbar", u"TComboboxex=combobox", u"TRxSpeedButton=speedbutton",
    u"TControlBar=Panel", u"TTBDock=Panel", u"TTBToolbar=Panel", u"TAdvPageControl=nil",
    u"TImageEnMView=scrollbar", u"TImageEnView=scrollbar", u"TAdvMemo=scrollbar", u"TDBAdvMemo=scrollbar",
    u"TcxDBLookupComboBox=combobox", u"TcxDBComboBox=combobox", u"TcxDBDateEdit=combobox",
    u"TcxDBImageComboBox=combobox", u"TcxDBCalcEdit=combobox", u"TcxDBBlobEdit=combobox",
    u"TcxDBPopupEdit=combobox", u"TcxDBFontNameComboBox=combobox", u"TcxDBShellComboBox=combobox",
    u"TRxLookupEdit=combobox", u"TRxDBLookupCombo=combobox", u"TRzButton=button", u"TRzBitbtn=bitbtn",
    u"TRzMenuButton=bitbtn", u"TRzCheckGroup=CheckGroup", u"TRzRadioGroup=Radiogroup",
    u"TRzRadioButton=Radiobutton", u"TRzCheckBox=Checkbox", u"TRzButtonEdit=Edit",
    u"TRzDBRadioGroup=Radiogroup", u"TRzDBRadioButton=Radiobutton", u"TRzDateTimeEdit=combobox",
    u"TRzColorEdit=combobox", u"TRzDateTimePicker=combobox", u"TRzDBDateTimeEdit=combobox",
    u"TRzDbColorEdit=combobox", u"TRzDBDateTimePicker=combobox", u"TLMDGroupBox=Groupbox",
    u"TDBCheckboxEh=Checkbox", u"TDBCheckboxEh=Checkbox", u"TLMDCHECKBOX=Checkbox",
    u"TLMDDBCHECKBOX=Checkbox", u"TLMDRadiobutton=Radiobutton", u"TLMDCalculator=panel",
    u"TLMDGROUPBOX=Panel", u"TLMDSIMPLEPANEL=Panel", u"TLMDDBCalendar=Panel", u"TLMDButtonPanel=Panel",
    u"TLMDLMDCalculator=Panel", u"TLMDHeaderPanel=Panel", u"TLMDTechnicalLine=Panel", u"TLMDLMDClock=Panel",
    u"TLMDTrackbar=panel", u"TLMDListCombobox=combobox", u"TLMDCheckListCombobox=combobox",
    u"TLMDHeaderListCombobox=combobox", u"TLMDImageCombobox=combobox", u"TLMDColorCombobox=combobox",
    u"TLMDFontCombobox=combobox", u"TLMDFontSizeCombobox=combobox", u"TLMDFontSizeCombobox=combobox",
    u"TLMDPrinterCombobox=combobox", u"TLMDDriveCombobox=combobox", u"TLMDCalculatorComboBox=combobox",
    u"TLMDTrackBarComboBox=combobox", u"TLMDCalendarComboBox=combobox", u"TLMDTreeComboBox=combobox",
    u"TLMDRADIOGROUP=radiogroup", u"TLMDCheckGroup=CheckGroup", u"TLMDDBRADIOGROUP=radiogroup",
    u"TLMDDBCheckGroup=CheckGroup", u"TLMDCalculatorEdit=edit", u"TLMDEDIT=Edit", u"TLMDMASKEDIT=Edit",
    u"TLMDBROWSEEDIT=Edit", u"TLMDEXTSPINEDIT=Edit", u"TLMDCALENDAREDIT=Edit", u"TLMDFILEOPENEDIT=Edit",
    u"TLMDFILESAVEEDIT=Edit", u"TLMDCOLOREDIT=Edit", u"TLMDDBEDIT=Edit", u"TLMDDBMASKEDIT=Edit",
    u"TLMDDBEXTSPINEDIT=Edit", u"TLMDDBSPINEDIT=Edit", u"TLMDDBEDITDBLookup=Edit", u"TLMDEDITDBLookup=Edit",
    u"TDBLookupCombobox=Combobox", u"TWWDBCombobox=Combobox", u"TWWDBLookupCombo=Combobox",
    u"TWWDBCombobox=Combobox", u"TWWKeyCombo=Combobox", u"TWWTempKeyCombo=combobox",
    u"TWWDBDateTimePicker=Combobox", u"TWWRADIOGROUP=radiogroup", u"TWWDBEDIT=Edit", u"TcxButton=bitbtn",
    u"TcxDBCheckBox=checkbox", u"TcxDBRadioGroup=radiogroup", u"TcxRadioGroup=radiogroup",
    u"TcxCheckBox=checkbox", u"TOVCPICTUREFIELD=Edit", u"TOVCDBPICTUREFIELD=Edit", u"TOVCSLIDEREDIT=Edit",
    u"TOVCDBSLIDEREDIT=Edit", u"TOVCSIMPLEFIELD=Edit", u"TOVCDBSIMPLEFIELD=Edit", u"TO32DBFLEXEDIT=Edit",
    u"TOVCNUMERICFIELD=Edit", u"TOVCDBNUMERICFIELD=Edit"};
  return rows;
}

}  // namespace skin
