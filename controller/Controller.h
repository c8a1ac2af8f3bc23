#ifndef QUENVAR_CONTROLLER_H
#define QUENVAR_CONTROLLER_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <wx/string.h>

#include "ControllerCommand.h"
#include "ControllerHost.h"
#include "ControllerObserver.h"
#include "HistoryRecord.h"
#include "Request.h"
#include "wxIOBase.h"

class ParamPacket;

// The one link to the ECU: serial port, request queue, receive buffer, the
// cache of everything the ECU last reported and the link flags. Pages read
// the members directly; settings change only through the setters. Driven by
// the 50 ms poll timer calling PollTick; everything runs on the GUI thread.
class Controller
{
public:
    // The poll timer's period; the link counts its waits in ticks.
    static constexpr int kTickMs = 50;
    // Received bytes held unparsed from which on the line counts as out of
    // step (more than the longest reply, 887).
    static constexpr std::size_t kRxLimit = 888;
    // Most bytes taken from the port in one read.
    static constexpr int kMaxReadBytes = 4096;
    // Reply lengths the ECU sends: an acknowledgement (header, two length
    // bytes, command, sum) up to the parameter frame. Any other announced
    // length is line noise.
    static constexpr std::size_t kShortestReply = 5;
    static constexpr std::size_t kLongestReply = 887;

    Controller();
    ~Controller();
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    // --- Link ---
    // Opens the port at 10000 baud, 8N1, no handshake; 0 or the port's code
    // (SerialOpenError), and then the port is closed. Whatever it opens is a
    // new far end: the link starts as ResetLink leaves it.
    int OpenPort(std::string device);
    // Closes the port and forgets the far end (queue, awaited reply, link
    // flags); demo mode stays.
    void ClosePort();
    // A line to read: an open port, or the demo's recording.
    bool HasLine() const;
    // Empties queue and receive buffer and clears the link flags; the
    // parameters are read again before live data.
    void ResetLink();
    // Lists the serial devices into out and m_portNames.
    void EnumeratePorts(std::vector<std::string>& out);
    // One step of the poll cycle: read a reply, send, or queue the next poll.
    void PollTick();
    // Reads what has arrived (or the next demo frame) and parses it.
    void ReadPort();
    // Demo mode on or off, as the demo tool does. Either way the cache no
    // longer describes the connected ECU: nothing built from it goes out
    // until its parameters have been read again.
    void SetDemoMode(bool on);
    // Replaces the port object (tests, fuzzing); the old one is closed.
    void SetPort(std::unique_ptr<wxIOBase> port);
    // Installs the program around the controller; null = none (then the demo
    // pause really sleeps and the rest does nothing).
    void SetHost(ControllerHost* host);
    // The installed host, or null.
    ControllerHost* GetHost() const { return m_host; }

    // --- Frames and queue ---
    // Queues a copy of m_request; replaces a queued request of its command.
    // In demo mode nothing is queued and the host is told so.
    void QueueRequest();
    // Writes the front request to the port; it stays queued until answered.
    void SendFront();
    // Takes every complete reply frame out of m_rxBuffer and dispatches each;
    // bytes that cannot start a reply are dropped up to the next header, and
    // a frame that fails its sum loses only its first byte. Leaves the
    // buffer empty or holding the start of one reply.
    void ParseReply();

    // --- Observers ---
    // Appends to the notification list (not owned).
    void AddObserver(ControllerObserver* observer);
    // Takes an observer off the list (before it is destroyed); safe while
    // the observers are being told.
    void RemoveObserver(ControllerObserver* observer);
    // which 0: OnControllerData on every observer; else OnParametersLoaded.
    void NotifyObservers(int which);

    // --- Decoders (ControllerApply.cpp) ---
    // Applies a live-data payload (length = payload bytes, the sum byte not
    // counted) to the readings, then notifies the observers. False, and
    // nothing changed, when the payload is too short.
    bool ApplyLiveData(const unsigned char* payload, std::size_t length);
    // Applies a parameter payload (length as above) to the settings cache,
    // notifies the observers and writes a pending settings file. False, and
    // nothing changed, when the payload is too short.
    bool ApplyParameters(const unsigned char* payload, std::size_t length);

    // --- Periodic requests ---
    // Queues CMD_READ_LIVE_DATA [1].
    void RequestLiveData();
    // Queues CMD_READ_PARAMETERS [1].
    void RequestParameters();
    // Queues the counters-and-history block (CMD_WRITE_HISTORY) once a
    // parameter frame has been applied.
    void SendHistoryBlock();

    // --- Samples and files ---
    // Copies the five samples index..index+4 (wrapping at 256) of src into
    // the gas ring and sets m_sampleIndex.
    void StoreGasSamples(uint32_t index, const double* src);
    // The same for the petrol ring.
    void StorePetrolSamples(uint32_t index, const double* src);
    // File for the settings block of the next parameter frame; "" = none.
    void SetSaveFileName(const wxString& path);

    // --- Parameter writes (ControllerCommands.cpp) ---
    // Setters store into the cache, then queue; those marked "online" do
    // nothing at all until live data has arrived (m_online).
    // CMD_WRITE_CALIBRATION with the learned point; ends the calibration.
    void FinishCalibration();
    // CMD_SWITCH_FUEL, online; mask 0 = every cylinder of the engine.
    void SwitchFuel(bool gas, unsigned char mask);
    // CMD_STOP_CALIBRATION; clears m_calibrating first.
    void StopCalibration();
    // CMD_START_CALIBRATION; sets m_calibrating after queueing.
    void StartCalibration();
    // CMD_SET_SWITCH_RPM, online.
    void SetSwitchRpm(int rpm);
    // CMD_SET_IGNITION_COILS, online.
    void SetIgnitionCoils(int row);
    // CMD_WRITE_MULTIPLIER_MAP: entries 10..255, fractions (1.12 = 112 %),
    // each held within 0..255 %.
    void SendMultiplierMap(const double map[256]);
    // CMD_READ_PARAMETERS [arg]; the settings-file save asks with 0.
    void RequestParameterBlock(unsigned char arg);
    // CMD_ENABLE_GAS_LEVEL if not sent yet, then CMD_SET_GAS_LEVEL (volts).
    void SetGasLevelSettings(int type, double t1, double t2, double t3, double t4);
    // CMD_SET_INJECTOR_TYPE / _PARAM_A / _PARAM_B for what differs, online.
    void SetInjectorType(int code);
    // CMD_SET_SWITCH_TEMPERATURE, online.
    void SetSwitchTemperature(int v);
    // CMD_ERASE_FAULTS, then both fault lists emptied.
    void EraseFaults();
    // CMD_SET_MAX_GAS_RPM, online.
    void SetMaxGasRpm(int rpm);
    // CMD_SET_GAS_PRESSURE_SENSOR, online.
    void SetGasPressureSensor(int row);
    // CMD_SET_REDUCER_TEMP_SENSOR, online.
    void SetReducerTempSensor(int row);
    // CMD_SET_RPM_SIGNAL, online.
    void SetRpmSignal(bool twelveVolt);
    // CMD_SET_GAS_TEMP_SENSOR, online.
    void SetGasTempSensor(int row);
    // CMD_SET_CALIBRATION_WINDOW.
    void SendCalibrationWindow(unsigned char midpoint, unsigned char tolerance, unsigned char multiplier);
    // CMD_SET_CYLINDERS, online.
    void SetCylinderCode(int code);
    // CMD_SET_MIN_PRESSURE, online.
    void SetMinPressure(double bar);
    // CMD_SET_GAS_FAULT_TIME, online.
    void SetGasFaultTime(int ms);
    // CMD_WRITE_MAP_POINTS: ten indices, 0xFF = free slot.
    void SendMapPoints(const unsigned char indices[10]);
    // CMD_SET_ENGINE_TYPE, online.
    void SetTurbo(unsigned char v);
    // CMD_SET_SWITCH_TIME, online.
    void SetSwitchTime(double s);
    // CMD_SET_CYLINDER_SWITCH_DELAY, online.
    void SetCylinderSwitchDelay(int ms);
    // CMD_SET_MANIFOLD_SENSOR, online.
    void SetManifoldSensor(int row);
    // CMD_ERASE_CURVE [1].
    void ErasePetrolCurve();
    // CMD_ERASE_CURVE [2].
    void EraseGasCurve();
    // CMD_SET_WORK_PRESSURE, online.
    void SetWorkPressure(double bar);
    // CMD_SET_GAS_SWITCH_TIME_FLAG.
    void SetGasSwitchTimeEnabled(unsigned char v);
    // CMD_ENABLE_GAS_LEVEL, once between two link resets.
    void EnableGasLevel();
    // CMD_SET_FUEL_TYPE, online.
    void SetFuelType(unsigned char cng);
    // CMD_SET_INJECTOR_CORRECTIONS with all eight cylinders, online; the
    // other seven go out as last read or set.
    void SetInjectorCorrection(int index, double percent);
    // CMD_SET_MIN_GAS_RPM, online.
    void SetMinGasRpm(int rpm);
    // CMD_SET_MIN_GAS_TEMPERATURE, online.
    void SetMinGasTemperature(int v);

    // --- Settings files and history (ControllerSettingsFile.cpp, ControllerHistory.cpp) ---
    // Sends a 554-byte settings file (CMD_WRITE_SETTINGS, then a parameter
    // read); any other file is refused with a message box. True when queued.
    bool LoadSettingsFile(const wxString& path);
    // Writes the settings block to m_saveFileName, if set, clears it and
    // tells the host what came of it.
    void WritePendingSettingsFile(const unsigned char* block554);
    // Tells the host that a loaded file has been answered, once the ECU has
    // taken the block (called after a parameter frame has been applied).
    void ConfirmLoadedSettingsFile();
    // Gives up a load whose answer did not come: its block and the parameter
    // read behind it leave the queue and nothing of it goes out again. True
    // when the block had already gone out (the ECU may have taken it).
    bool WithdrawSettingsFile();
    // Next-service counter := hours, then the counters-and-history block.
    void SetServiceInterval(double hours);
    // Dates the modification records, once per link reset.
    void StampHistory();

    // --- Getters ---
    unsigned char GetIgnitionCoils() const { return m_ignitionCoils; }
    double GetSwitchTime() const { return m_switchTime; }
    double GetCylinderSwitchDelay() const { return m_cylinderSwitchDelay; }
    int GetMaxGasRpm() const { return m_maxGasRpm; }
    int GetGasFaultTime() const { return m_gasFaultTime; }
    unsigned char GetGasLevelStage() const { return m_gasLevelStage; }
    unsigned char IsTurbo() const { return m_turbo; }
    int GetMinGasRpm() const { return m_minGasRpm; }
    // Cylinders from the cylinder code: 6 -> 1, 7 -> 2, c -> c + 3, held
    // within 1..8 for codes the ECU should not send.
    unsigned char GetCylinderCount() const;
    // Correction of cylinder index (0..7), percent.
    double GetInjectorCorrection(int index) const;
    // Sensor type and the four raw thresholds (V x 50).
    void GetGasLevelSettings(int& type, double& t1, double& t2, double& t3, double& t4) const;
    const double* GetGasSamples() const { return m_gasSamples; }
    const double* GetPetrolSamples() const { return m_petrolSamples; }
    // Work counter index (0..4), half-seconds.
    uint32_t GetWorkCounter(int index) const;
    double GetO2Voltage1() const { return m_o2Voltage1; }
    double GetO2Voltage2() const { return m_o2Voltage2; }
    int GetCurrentFaultCount() const { return static_cast<int>(m_currentFaults.size()); }
    int GetStoredFaultCount() const { return static_cast<int>(m_storedFaults.size()); }
    // Current fault text index; "" outside the list.
    wxString GetCurrentFault(int index) const;
    // Stored fault text index (below GetStoredFaultCount).
    wxString GetStoredFault(int index) const;

    // --- Members, read directly by the pages ---
    uint32_t m_demoParametersSent = 0;
    unsigned char m_pressureChanged = 0;
    unsigned char m_historyStamped = 0;
    unsigned char m_statusBit1 = 0;
    unsigned char m_statusBit2 = 0;
    int m_gasLevelSensorType = 0;
    unsigned char m_gasLevelRaw = 0;
    unsigned char m_gasLevelThresholds[4] = {};
    double m_injectorCorrections[8] = {};
    // The correction bytes as the ECU sent them (128 = 0 %): percent and
    // byte do not map one to one, so untouched cylinders go back unchanged.
    unsigned char m_injectorCorrectionBytes[8] = {128, 128, 128, 128, 128, 128, 128, 128};
    // Set by the main window's live-data observer on each live frame; cleared by ForgetFarEnd.
    unsigned char m_online = 0;
    unsigned char m_cylinderCode = 0;
    unsigned char m_rpmSignalVolts = 0;
    unsigned char m_ignitionCoils = 0;
    unsigned char m_switchTemperature = 0;
    int m_switchRpm = 0;
    double m_switchTime = 0.0;
    double m_cylinderSwitchDelay = 0.0;
    unsigned char m_gasPressureSensor = 0;
    unsigned char m_manifoldSensor = 0;
    unsigned char m_reducerTempSensor = 0;
    unsigned char m_gasTempSensor = 0;
    int m_maxGasRpm = 0;
    int m_gasFaultTime = 0;
    int m_minGasTemperature = 0;
    int m_minGasRpm = 0;
    // Set by ApplyParameters before the observers are told; cleared by ForgetFarEnd.
    unsigned char m_parametersApplied = 0;
    unsigned char m_turbo = 0;
    unsigned char m_fuelIsCng = 0;
    unsigned char m_gasSwitchTimeEnabled = 0;
    double m_workPressure = 0.0;
    double m_minPressure = 0.0;
    unsigned char m_injectorType = 0;
    unsigned char m_injectorCode = 0; // as the ECU sent it, may lie outside the tables
    unsigned char m_injectorParamA = 0;
    unsigned char m_injectorParamB = 0;
    std::string m_lastPayload;          // last good reply's payload, its sum byte last
    std::string m_rxBuffer;             // received bytes not yet parsed
    double m_manifoldPressure = 0.0;
    double m_gasPressure = 0.0;
    double m_calibrationTime = 0.0;
    std::deque<ControllerObserver*> m_observers;
    std::deque<wxString> m_storedFaults;
    std::deque<wxString> m_currentFaults;
    // Set by StartCalibration; cleared by StopCalibration, FinishCalibration, ResetLink and a run ended on a lost link.
    unsigned char m_calibrating = 0;
    double m_rpm = 0.0;
    double m_supplyVoltage = 0.0;
    double m_o2Voltage1 = 0.0;
    double m_o2Voltage2 = 0.0;
    double m_reducerTemperature = 0.0;
    double m_gasTemperature = 0.0;
    unsigned char m_calibrationMultiplier = 0;
    unsigned char m_multiplier = 0;
    double m_gasInjectionTime = 0.0;
    uint32_t m_workCounters[5] = {};
    std::vector<std::string> m_portNames;
    std::deque<Request> m_requestQueue;
    uint32_t m_demoFrameIndex = 0;
    std::unique_ptr<ParamPacket> m_lastParameters;
    // Set and cleared by SetDemoMode; cleared by ResetLink.
    unsigned char m_demoMode = 0;
    double m_calibrationTolerance = 0.0;
    double m_calibrationAverage = 0.0;
    unsigned char m_gasLevelEnabled = 0;
    unsigned char m_onGas = 0;
    // Set by PollTick after 14 empty reads in a row; the poll timer runs on but ticks the controller no more, so
    // only ForgetFarEnd (a port opened or closed, demo toggled, a link reset) clears it.
    unsigned char m_linkLost = 0;
    // Empty reads in a row (ReadPort); zeroed by a good frame and ForgetFarEnd.
    int m_missCount = 0;
    // Set by ApplyLiveData; cleared by PollTick on link loss and by ForgetFarEnd.
    unsigned char m_connected = 0;
    Request m_request;
    std::unique_ptr<wxIOBase> m_port;
    unsigned char m_calibrationGasTemperature = 0;
    double m_petrolInjectionTimes[8] = {};
    unsigned char m_gasCylinderMask = 0;
    unsigned char m_gasLevelStage = 0;
    unsigned char m_mapPointIndices[10] = {};
    double m_multiplierMap[256] = {};
    uint32_t m_sampleIndex = 0;
    wxString m_saveFileName;
    wxString m_loadFileName;            // file sent, until the parameter frame answering it
    double m_petrolSamples[256] = {};
    double m_gasSamples[256] = {};
    // Set by PollTick when it sends; cleared once a tick has read the answer, and by ForgetFarEnd.
    unsigned char m_awaitingReply = 0;
    HistoryRecord m_historyRecords[9] = {};
    // Set by ParseReply once parameters are applied (PollTick then asks for live data); cleared by ForgetFarEnd.
    unsigned char m_parametersReceived = 0;

    // Ticks since the last history block; CMD_WRITE_HISTORY on the 50th.
    int m_historyTickCounter = 0;

    // --- Pacing at line speed (10000 baud, 8N1: one byte per millisecond) ---
    // Ticks since the front request was last written; 0 on the tick that wrote it.
    int m_ticksSinceSend = 0;
    // Bytes that tick put on the line.
    std::size_t m_sentLength = 0;
    // Reads the answer has been waited for (since the send or the last frame
    // taken); with no reply start held it ends after the longest reply's
    // line time.
    int m_partialTicks = 0;
    // The unwritten rest of a frame the port took only in part; it goes out
    // before anything else.
    std::string m_txRemainder;

private:
    // What every new far end needs (ResetLink, SetDemoMode, OpenPort, ClosePort):
    // nothing queued, received or awaited belongs to it, the link flags start
    // clear and its parameters are read before anything that needs them.
    void ForgetFarEnd();
    static void StoreSamples(double* ring, uint32_t index, const double* src);
    // The request written last cannot have reached the ECU yet.
    bool RequestStillOnTheLine() const;
    // Length of the reply whose start the receive buffer holds, 0 when it
    // holds none (empty, a whole frame, or a length no reply has).
    std::size_t AwaitedLength() const;
    // The answer to the request sent may still be arriving: the buffer holds
    // the start of a reply, or this read brought only noise or an earlier
    // request's answer. A start is given up past its own line time.
    bool ReplyStillArriving();
    // The start held has had the line time its length needs, counted from
    // the read that brought its header.
    bool HeldStartOverdue() const;
    // Number of the read that brought the first byte held.
    unsigned FrontArrival() const;
    // Drops count bytes from the front of the receive buffer.
    void EraseReceived(std::size_t count);
    // Takes the frame at the front of the buffer, dropping noise before it;
    // false when no whole frame is there.
    bool TakeFrame();
    // Drops bytes up to the first that can start a reply.
    void DropNoise();
    // The front request has gone out and awaits its answer.
    bool FrontSent() const;
    // Writes to the port (which waits for room at most a part of a tick);
    // the count it took.
    std::size_t Put(const char* data, std::size_t size);
    // Drops the entries RemoveObserver blanked during a notification.
    void DropRemovedObservers();

    // Notifications under way (an observer's handler may cause another).
    int m_notifyDepth = 0;

    // What the parser met since the last read from the port.
    bool m_readNoise = false;    // bytes that could start no reply were dropped
    bool m_readFrame = false;    // a whole, well-summed frame was taken
    bool m_readAnswer = false;   // one of them answered a request that had gone out

    // Reads from the port so far (one a tick while a reply is awaited; it
    // may wrap), and how many bytes of each recent read the receive buffer
    // still holds.
    struct RxArrival
    {
        std::size_t bytes;
        unsigned read;
    };
    unsigned m_rxReads = 0;
    std::deque<RxArrival> m_rxArrivals;

    ControllerHost* m_host = nullptr;
};

// The one controller; null until the main window has created it.
extern Controller* theController;

#endif
