#include "ViewerExchange.h"

#include "Clip3DExport.h"
#include "d5arer/D5arer.h"

#include "geo/geodesy.h"
#include "os/DynamicLibrary.h"
#include "os/Process.h"

namespace {

using namespace exchangeRecord;
using namespace viewerStatus;

struct Exchange {
    os::DynamicLibrary library;
    TPutRecFn putRec = nullptr;
    TGetRecFn getRec = nullptr;
    TPutStatFn put[3] = {};
    TGetStatFn get[3] = {};
    bool loaded = false;
    bool viewRunning = false;
    unsigned long exportedPicture = 0; // the chart picture last exported
    bool ownShipHidden = false;        // -1 was written since own ship left the window
};

Exchange& exchange() {
    static Exchange e;
    return e;
}

enum Word { A = 0, B = 1, C = 2 };

std::uint32_t status(Word w) {
    return exchange().get[w]();
}
void setBits(Word w, std::uint32_t bits) {
    exchange().put[w](status(w) | bits);
}
void clearBits(Word w, std::uint32_t bits) {
    exchange().put[w](status(w) & ~bits);
}

// The record in one zeroed buffer of the library's whole record size, whatever
// length a call reads or writes: a short read leaves the rest 0, and offsets
// nothing here sets pass through as read.
class Record {
  public:
    void read(int length) { exchange().getRec(bytes_, length); }
    void write(int length) const { exchange().putRec(bytes_, length); }
    void set(int offset, std::int32_t value) {
        const auto v = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            bytes_[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }

  private:
    std::uint8_t bytes_[kExchangeRecordSize] = {};
};

// Own ship and the end of its course vector in exchange coordinates, or -1 in
// all four when not shown or when no export has set the reference point.
void setOwnShip(Record& r, const ViewerExchangeInput& in, bool show) {
    const Clip3DReference& reference = Clip3DReferencePoint();
    if (!show || !reference.set) {
        for (int offset : {ShipX, ShipY, VectorX, VectorY})
            r.set(offset, -1);
        return;
    }
    const ExchangePoint ship = ToExchangeCoordinates(in.ownShip, reference);
    const long double miles = static_cast<long double>(in.speed) * in.crsMinutes / 60;
    const GeoPoint end = DPC(in.ownShip, miles, deg2rad(in.course));
    const ExchangePoint vector = ToExchangeCoordinates(end, reference);
    r.set(ShipX, static_cast<std::int32_t>(ship.x));
    r.set(ShipY, static_cast<std::int32_t>(ship.y));
    r.set(VectorX, static_cast<std::int32_t>(vector.x));
    r.set(VectorY, static_cast<std::int32_t>(vector.y));
}

void setFixedFields(Record& r, int paletteScheme, bool following) {
    r.set(Zero36, 0);
    r.set(Zero40, 0);
    r.set(Value44, 750);
    r.set(Zero48, 0);
    r.set(Illumination, paletteScheme * 4 + 1);
    r.set(Value56, 2);
    r.set(Value60, 1);
    r.set(Flags, static_cast<std::int32_t>(FlagsAlways | (following ? FlagFollowing : 0)));
    r.set(UpdateMark, 1);
}

template <typename Fn> bool bind(const os::DynamicLibrary& library, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(library.symbol(name));
    return fn != nullptr;
}

} // namespace

bool LoadViewerExchange(const std::string& name) {
    UnloadViewerExchange();
    Exchange& e = exchange();
    if (!e.library.load(name)) return false;
    const bool all =
        bind(e.library, "_tPutRec", e.putRec) && bind(e.library, "_tGetRec", e.getRec) &&
        bind(e.library, "_tPutStatA", e.put[A]) && bind(e.library, "_tPutStatB", e.put[B]) &&
        bind(e.library, "_tPutStatC", e.put[C]) && bind(e.library, "_tGetStatA", e.get[A]) &&
        bind(e.library, "_tGetStatB", e.get[B]) && bind(e.library, "_tGetStatC", e.get[C]);
    if (!all) {
        UnloadViewerExchange();
        return false;
    }
    e.loaded = true;

    // The start record: an 800 x 600 picture, no own ship, and following on,
    // as the program starts.
    Record start;
    start.set(PictureWidth, 800);
    start.set(PictureHeight, 600);
    start.set(ExtentX, 800000);
    start.set(ExtentY, 600000);
    for (int offset : {ShipX, ShipY, VectorX, VectorY})
        start.set(offset, -1);
    setFixedFields(start, 0, true);
    start.set(StartMark, 1);
    start.write(FullLength);
    for (Word w : {A, B, C})
        e.put[w](0);
    return true;
}

bool IsViewerExchangeLoaded() {
    return exchange().loaded;
}

void UnloadViewerExchange() {
    Exchange& e = exchange();
    e.loaded = false;
    e.putRec = nullptr;
    e.getRec = nullptr;
    for (Word w : {A, B, C}) {
        e.put[w] = nullptr;
        e.get[w] = nullptr;
    }
    e.library.unload();
    e.viewRunning = false;
    e.exportedPicture = 0;
    e.ownShipHidden = false;
    ResetClip3DReference();
}

bool Is3DViewAvailable() {
    return exchange().loaded && !os::findProgram("Vistrel").empty();
}

bool Is3DViewRunning() {
    return exchange().viewRunning;
}

void UpdateViewerExchange(const ViewerExchangeInput& in, bool withSize) {
    Exchange& e = exchange();
    if (!e.loaded || (status(C) & ViewerReads)) return;
    setBits(C, ProgramWrites);
    Record r;
    r.read(FullLength);
    if (withSize) {
        r.set(PictureWidth, in.clientWidth);
        r.set(PictureHeight, in.clientHeight);
        const Clip3DReference& reference = Clip3DReferencePoint();
        if (reference.set) {
            const ExchangePoint ne =
                ToExchangeCoordinates(GeoPoint{in.view.lon2, in.view.lat2}, reference);
            r.set(ExtentX, static_cast<std::int32_t>(ne.x));
            r.set(ExtentY, static_cast<std::int32_t>(ne.y));
        }
    }
    setOwnShip(r, in, e.viewRunning && in.fixSeen);
    setFixedFields(r, in.paletteScheme, in.following);
    r.write(FullLength);
    clearBits(C, ProgramWrites);
}

void AnnounceClip3DExport(const ViewerExchangeInput& in) {
    if (!exchange().loaded) return;
    UpdateViewerExchange(in, true);
    setBits(A, ExportReady);
    clearBits(B, ReliefReady);
}

ViewerExchangeRequests Run3DViewCommand(const ViewerExchangeInput& in) {
    ViewerExchangeRequests requests;
    Exchange& e = exchange();
    if (!e.loaded) return requests;
    if (e.viewRunning) {
        Record r;
        r.read(FullLength);
        setBits(A, CloseRequest);
    } else {
        if (in.reliefSwitch) UpdateViewerExchange(in, false);
        // Only the close request is cleared; every other bit is the viewer's too.
        clearBits(A, CloseRequest);
        if (!in.reliefSwitch && in.detailWord > 2) {
            e.exportedPicture = in.pictureCount;
            ExportClip3D(in.view, in.detailWord - 1, in);
        }
        // A viewer that does not start is not reported: the timer then finds
        // it ended and clears the running flag.
        ViewerProcess().start("Vistrel");
        if (in.following && in.course > 190 && in.course < 300) requests.recentre = true;
    }
    e.viewRunning = !e.viewRunning;
    e.ownShipHidden = false;
    requests.button132 =
        e.viewRunning ? ViewerExchangeRequests::Button::Down : ViewerExchangeRequests::Button::Up;
    return requests;
}

ViewerExchangeRequests ViewerExchangeTimerStep(const ViewerExchangeInput& in) {
    ViewerExchangeRequests requests;
    Exchange& e = exchange();
    if (!e.loaded) return requests;

    if (e.viewRunning && !ViewerProcess().running()) {
        e.viewRunning = false;
        requests.button132 = ViewerExchangeRequests::Button::Up;
    }

    if ((in.reliefSwitch || e.viewRunning) && in.detailWord > 2 &&
        in.pictureCount != e.exportedPicture) {
        e.exportedPicture = in.pictureCount;
        ExportClip3D(in.view, in.detailWord - 1, in);
    }

    if (const std::uint32_t b = status(B); b & ReliefReady) {
        e.put[B](b & ~ReliefReady);
        if (in.detailWord > 2) {
            requests.reliefReady = true;
            requests.redraw = true;
        }
    }

    if (e.viewRunning && in.reliefSwitch && in.detailWord > 2 && !(status(C) & ViewerReads)) {
        const bool inside = in.ownShipClient.x >= 0 && in.ownShipClient.x < in.clientWidth &&
                            in.ownShipClient.y >= 0 && in.ownShipClient.y < in.clientHeight;
        if (inside || !e.ownShipHidden) {
            setBits(C, ProgramWrites);
            Record r;
            r.read(OwnShipReadLength);
            setOwnShip(r, in, inside);
            r.write(OwnShipWriteLength);
            setBits(A, OwnShipReady);
            clearBits(C, ProgramWrites);
            e.ownShipHidden = !inside;
        }
    }
    return requests;
}

void SetViewerIllumination(int level) {
    if (!exchange().loaded) return;
    if (!(status(C) & ViewerReads)) {
        setBits(C, ProgramWrites);
        Record r;
        r.read(SchemeLength);
        r.set(Illumination, level * 4 + 1);
        r.write(SchemeLength);
        clearBits(C, ProgramWrites);
    }
    setBits(B, SchemeChanged);
}

os::Process& ViewerProcess() {
    static os::Process viewer;
    return viewer;
}
