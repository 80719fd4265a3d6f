-- The tool's database: two code tables read at start-up and the operation log.
CREATE TABLE IF NOT EXISTS AlarmTypeCode (
    AlarmCode TEXT NOT NULL,
    AlarmType TEXT
);
CREATE TABLE IF NOT EXISTS OperateCode (
    OperateCode TEXT NOT NULL,
    OperateInfo TEXT
);
CREATE TABLE IF NOT EXISTS OperationLog (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    dTime TEXT,
    OperationIP TEXT,
    OperationInfo TEXT,
    OperationResult TEXT,
    Operator TEXT
);

-- Alarm codes as the alarm host sends them (two hex digits).
INSERT INTO AlarmTypeCode (AlarmCode, AlarmType) VALUES
 ('00', ''),
 ('01', '紧急报警'),
 ('02', '火警报警'),
 ('03', '防盗报警'),
 ('04', '周界报警'),
 ('05', '出入报警'),
 ('06', '内部报警'),
 ('07', '24小时报警'),
 ('08', '燃气泄漏报警'),
 ('09', '水浸报警'),
 ('0A', '挟持报警'),
 ('0B', '医疗求助'),
 ('0C', '防拆报警'),
 ('0D', '防区故障'),
 ('0E', '防区旁路'),
 ('0F', '防区旁路恢复'),
 ('10', '外出布防'),
 ('11', '撤防'),
 ('12', '留守布防'),
 ('13', '定时布防'),
 ('14', '定时撤防'),
 ('15', '遥控器布防'),
 ('16', '遥控器撤防'),
 ('17', '电话远程布防'),
 ('18', '电话远程撤防'),
 ('19', '网络远程布防'),
 ('1A', '网络远程撤防'),
 ('1B', '报警恢复'),
 ('1C', '防拆恢复'),
 ('1D', '防区故障恢复'),
 ('20', '交流电掉电'),
 ('21', '交流电恢复'),
 ('22', '主机电池欠压'),
 ('23', '主机电池恢复'),
 ('24', '探测器电池欠压'),
 ('25', '探测器电池恢复'),
 ('26', '电话线断线'),
 ('27', '电话线恢复'),
 ('28', 'GPRS网络故障'),
 ('29', 'GPRS网络恢复'),
 ('2A', '以太网断开'),
 ('2B', '以太网恢复'),
 ('2C', '通讯失败'),
 ('2D', '警号故障'),
 ('2E', '警号恢复'),
 ('30', '定期测试报告'),
 ('31', '进入编程'),
 ('32', '退出编程'),
 ('33', '系统复位'),
 ('34', '消除报警记忆'),
 ('35', '时间校准'),
 ('36', '无线探测器丢失'),
 ('37', '无线探测器恢复'),
 ('38', '巡更到达'),
 ('39', '键盘锁定');

-- Operation codes of the arming replies and the history.
INSERT INTO OperateCode (OperateCode, OperateInfo) VALUES
 ('00', ''),
 ('01', '键盘操作'),
 ('02', '遥控器操作'),
 ('03', '电话远程操作'),
 ('04', '网络远程操作'),
 ('05', '定时操作'),
 ('06', '短信操作'),
 ('07', '钥匙开关操作'),
 ('08', '中心平台操作'),
 ('09', '系统自动'),
 ('0A', '安装员操作');
