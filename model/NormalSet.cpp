// The model state of the process, the view the engine writes into, the normal parameter set
// and the frozen normal reference.

#include "model/Derived.h"
#include "model/EngineInternal.h"
#include "model/Quantities.h"
#include "model/Reflex.h"
#include "model/Vasora_Model_coding.h"

namespace vasora::model {

namespace {
NullView g_nullView;
ModelView* g_view = &g_nullView;
}  // namespace

namespace engine {
ModelView& out() {
    return *g_view;
}
}  // namespace engine

ModelState& state() {
    static ModelState s;
    return s;
}

void resetState() {
    state() = ModelState{};
    engine::resetTrace();
}

void setView(ModelView* v) {
    g_view = v ? v : &g_nullView;
    engine::resetTrace();
}

ModelView& view() {
    return *g_view;
}

void showChangeableLabels() {
    const ModelState& s = state();
    for (const Quantity& q : quantities())
        if (q.needsAVBlock)
            for (Window w : {Window::CVModel, Window::Layout})
                g_view->setEnabled(w, q.label, q.changeableNow(s));
}

void showParameterMark(std::string_view label) {
    const ModelState& s = state();
    const bool marked = (s.ChangedMarks & parameterMark(label)) != 0;
    const Rgb layout = marked ? s.ColorChanged : kParamNormal;
    const Quantity* q = quantityByLabel(label);
    const Rgb model = marked || !q || q->changeableNow(s) ? layout : palette::BrightWhite;
    g_view->setBackColor(Window::CVModel, label, model);
    g_view->setBackColor(Window::Layout, label, layout);
}

void showParameterMarks() {
    for (std::string_view label : parameterLabels()) showParameterMark(label);
    showChangeableLabels();
}

void SetNormalParameters() {
    ModelState& s = state();
    s.AutoRunOn = 0;
    s.ParamSetLoaded = 0;
    s.ColorChanged = kColorChanged;
    g_view->plotClear();

    struct Normal {
        double Press, Flow, Vstrs, Vunstrs, Comp, Resis;
    };
    // A steady state of the run: each pressure is Vstrs / Comp (plus Pit inside the chest) and
    // the six flows agree within 1 ml/min of 5500.
    static constexpr Normal kNormal[kCompartments + 1] = {
        {},
        {93.7, 5500, 187.38, 553.0, 2.0, 0.01582},
        {6.69, 5500, 695.99, 2905.1, 104.0, 0.0010027},
        {1.1775, 5500, 108.73, 5.0, 21.0, 0.0},
        {11.1027, 5500, 166.13, 60.0, 11.0, 0.001001},
        {5.5974, 5500, 134.36, 72.0, 14.0, 0.0002442},
        {4.2543, 5500, 107.308, 5.0, 13.0, 0.0},
    };
    for (int i = 1; i <= kCompartments; ++i) {
        const Normal& n = kNormal[i];
        s.Press[i] = n.Press;
        s.Flow[i] = n.Flow;
        s.Vstrs[i] = n.Vstrs;
        s.Vunstrs[i] = n.Vunstrs;
        s.Comp[i] = n.Comp;
        s.Resis[i] = n.Resis;
    }

    s.SegName[6] = "Right Ventricle";
    s.SegName[7] = "Left Ventricle";
    s.SegName[8] = "Heart Rate";
    s.SegName[9] = "Heart Rate";
    s.SegName[10] = "Unstressed";
    s.SegName[11] = "Total Body";
    s.SegName[12] = "P intrathoracic";

    s.CompPericard = 2.0;
    s.Pit = -4.0;
    s.HrtRate = 72;
    s.K2_RV = 1.0;
    s.HrtRate_LV = 72;
    s.K2_LV = 1.0;
    s.AVBlock = 0;
    s.SystP = 119.185;
    s.DiasP = 80.987;
    s.Emax_RV = 0.3784;
    s.Emax_LV = 3.52;
    s.Vo_RV = 3.0;
    s.Vo_LV = 4.3;

    s.VunstrsChangeTarget = 0;
    s.VolChangeTarget = 0;
    s.VolChangeRate = 0;
    s.VolChangeDone = 0;
    s.VunstrsChangeRate = 0;
    s.VunstrsChangeDone = 0;
    s.CollapseRate = 0;
    // The reflex's effectors start from rest at the normal set; whether it is on is kept.
    resetReflex(s);

    s.VunstrsTotal = 3600;
    s.VstrsTotal = 1400;
    s.VtotalBody = 5000;
    s.VolAdded = 0;

    setDefaultIntervals(s);
    s.RunUntil = 0;
    s.ModelTime = 0;
    s.NormalSaved = 0;
    s.StepCount = 0;
    s.PlotSpan = 3000;
    s.PlotHidden = 0;
    showChangeableLabels();
}

void StoreNormals() {
    ModelState& s = state();
    for (int i = 1; i <= kCompartments; ++i) {
        s.Comp_N[i] = s.Comp[i];
        s.Flow_N[i] = s.Flow[i];
        s.Press_N[i] = s.Press[i];
        s.Vstrs_N[i] = s.Vstrs[i];
        if (i != RghtV && i != LeftV) s.Resis_N[i] = s.Resis[i];
    }
    s.HrtRate_N = s.HrtRate;
    s.K2_RV_N = s.K2_RV;
    s.ESV_RV_N = s.ESV_RV;
    s.SV_RV_N = s.SV_RV;
    s.Vo_RV_N = s.Vo_RV;
    s.Emax_RV_N = s.Emax_RV;
    s.HrtRate_LV_N = s.HrtRate_LV;
    s.K2_LV_N = s.K2_LV;
    s.ESV_LV_N = s.ESV_LV;
    s.SV_LV_N = s.SV_LV;
    s.Vo_LV_N = s.Vo_LV;
    s.Emax_LV_N = s.Emax_LV;
    s.VstrsTotal_N = s.VstrsTotal;
    s.VunstrsTotal_N = s.VunstrsTotal;
    s.VtotalBody_N = s.VunstrsTotal + s.VstrsTotal;
    s.Pmcf_N = s.Pmcf;
    // The volume transfused or bled counts from the reference just stored, as the model error
    // compares with it: a set saved after a hemorrhage, or normals stored again after one, would
    // otherwise show the whole hemorrhage as an error of the bookkeeping.
    s.VolAdded = 0;

    engine::arterialPressures(s, engine::kDiasFracPerBeatNormal);
    s.SystP_N = s.SystP;
    s.DiasP_N = s.DiasP;

    // Every parameter is at its normal value again, first on the model window, then on the
    // layout sheet; the left heart rate is a parameter only with AV block.
    for (std::string_view label : parameterLabels())
        if (quantityByLabel(label)->changeableNow(s)) s.ChangedMarks &= ~parameterMark(label);
    for (Window w : {Window::CVModel, Window::Layout})
        for (std::string_view label : parameterLabels())
            if (quantityByLabel(label)->changeableNow(s))
                g_view->setBackColor(w, label, kParamNormal);

    showChangeableLabels();
    s.NormalSaved = 1;
}

}  // namespace vasora::model
