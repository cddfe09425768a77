public class PrivateAccess {
    static class Vault {
        private int secret;
    }

    int peek(java.util.Random random) {
        return random.seed.hashCode();
    }
}
