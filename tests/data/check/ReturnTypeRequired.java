public class ReturnTypeRequired {
    compute() {
        return;
    }
}
